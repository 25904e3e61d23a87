#include "platform/Cp932.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace tokeiya::cp932 {
namespace {

// What a character the other side cannot hold does to a conversion.
enum class Failure { Refuse, Replace, Drop };

// A conversion descriptor. Opening one costs more than converting a short text, and every
// text column of every row passes through here, so each thread keeps one per direction
// (the converters below); the shift state is reset before each use.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts `in`; an unconvertible or broken sequence is skipped by `skip` bytes and
    // replaced by '?' or left out, or ends the conversion with nullopt when strict.
    std::optional<std::string> Convert(std::string_view in, Failure failure, size_t skip) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(in.size() * 3 / 2 + 4);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (rc != static_cast<size_t>(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            if (failure == Failure::Refuse) {
                return std::nullopt;
            }
            // EILSEQ or EINVAL (truncated at the end): drop the offending character.
            size_t n = std::min(srcLeft, SkipLength(src, srcLeft, skip));
            src += n;
            srcLeft -= n;
            if (failure == Failure::Replace) {
                out.push_back('?');
            }
        }
        return out;
    }

  private:
    static size_t SkipLength(const char* p, size_t left, size_t skip) {
        if (skip == 0) {  // UTF-8: skip the lead byte and its continuation bytes
            size_t n = 1;
            while (n < left && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) {
                ++n;
            }
            return n;
        }
        // CP932: a lead byte with a valid trail byte goes as one character.
        auto c = static_cast<unsigned char>(p[0]);
        if (IsLeadByte(c) && left >= 2 && IsTrailByte(static_cast<unsigned char>(p[1]))) {
            return 2;
        }
        return 1;
    }

    iconv_t m_cd;
};

Iconv& ToUtf8Converter() {
    thread_local Iconv converter("UTF-8", "CP932");
    return converter;
}

Iconv& FromUtf8Converter() {
    thread_local Iconv converter("CP932", "UTF-8");
    return converter;
}

}  // namespace

std::optional<std::string> ToUtf8Strict(std::string_view cp932) {
    return ToUtf8Converter().Convert(cp932, Failure::Refuse, 1);
}

std::optional<std::string> FromUtf8Strict(std::string_view utf8) {
    return FromUtf8Converter().Convert(utf8, Failure::Refuse, 0);
}

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) {
        return std::string(cp932);
    }
    return *ToUtf8Converter().Convert(cp932, Failure::Replace, 1);
}

std::string FromUtf8(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    return *FromUtf8Converter().Convert(utf8, Failure::Replace, 0);
}

std::string FromUtf8Dropping(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    return *FromUtf8Converter().Convert(utf8, Failure::Drop, 0);
}

}  // namespace tokeiya::cp932
