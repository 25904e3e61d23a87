#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace tokeiya::bench {

// A temporary folder for one benchmark's database, removed afterwards.
class BenchFolder {
  public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tokeiya-bench-XXXXXX").string();
        m_path = mkdtemp(pattern.data()) != nullptr ? pattern : "/tmp";
    }
    ~BenchFolder() {
        if (m_path != "/tmp") {
            std::filesystem::remove_all(m_path);
        }
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

}  // namespace tokeiya::bench
