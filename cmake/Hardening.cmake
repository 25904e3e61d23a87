# The hardening a Debian package is expected to have (stack protector, fortified libc
# calls, read-only relocations bound at start), taken from the distribution's own
# dpkg-buildflags so that the shipped programs match what the distribution builds. Only the
# flags that hardening adds are used: optimisation and debug flags stay the build type's.
# Not for sanitizer, fuzz or unoptimised builds (the fortified calls need optimisation).

option(TOKEIYA_HARDEN "Build with the distribution's hardening flags" ON)

# The words of `flags` that are not in `without`, as a list.
function(tokeiya_flags_added out flags without)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    separate_arguments(without UNIX_COMMAND "${without}")
    list(REMOVE_ITEM flags ${without})
    set(${out} ${flags} PARENT_SCOPE)
endfunction()

function(tokeiya_dpkg_flags out kind hardening)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=${hardening}
                ${TOKEIYA_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
    endif()
    set(${out} "${flags}" PARENT_SCOPE)
endfunction()

string(TOUPPER "${CMAKE_BUILD_TYPE}" build_type)
if(TOKEIYA_HARDEN AND NOT TOKEIYA_SANITIZE AND NOT TOKEIYA_FUZZ AND NOT build_type STREQUAL "DEBUG")
    find_program(TOKEIYA_DPKG_BUILDFLAGS dpkg-buildflags)
    if(TOKEIYA_DPKG_BUILDFLAGS)
        set(TOKEIYA_HARDEN_COMPILE "")
        foreach(kind CPPFLAGS CXXFLAGS)
            tokeiya_dpkg_flags(hardened ${kind} +all)
            tokeiya_dpkg_flags(plain ${kind} -all)
            tokeiya_flags_added(added "${hardened}" "${plain}")
            list(APPEND TOKEIYA_HARDEN_COMPILE ${added})
        endforeach()
        tokeiya_dpkg_flags(hardened LDFLAGS +all)
        tokeiya_dpkg_flags(plain LDFLAGS -all)
        tokeiya_flags_added(TOKEIYA_HARDEN_LINK "${hardened}" "${plain}")
    else()
        # Elsewhere, the same set written out.
        set(TOKEIYA_HARDEN_COMPILE -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat
                                   -Werror=format-security)
        set(TOKEIYA_HARDEN_LINK -Wl,-z,relro -Wl,-z,now)
    endif()
    # A position-independent executable, which the address randomisation needs.
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
    message(STATUS "Hardening: ${TOKEIYA_HARDEN_COMPILE} ${TOKEIYA_HARDEN_LINK}")
    add_compile_options(${TOKEIYA_HARDEN_COMPILE})
    add_link_options(${TOKEIYA_HARDEN_LINK})
endif()
