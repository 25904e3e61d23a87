#pragma once

#include <filesystem>
#include <system_error>

namespace tokeiya::test {

// Restores the working directory the test started in.
class ScopedWorkingFolder {
  public:
    ScopedWorkingFolder() : m_previous(std::filesystem::current_path()) {}
    ~ScopedWorkingFolder() {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
    }
    ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
    ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

  private:
    std::filesystem::path m_previous;
};

}  // namespace tokeiya::test
