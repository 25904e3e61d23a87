#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tokeiya {

// An ODBC connection string: `KEY=value;` pairs, a value in braces when it holds ';' or
// braces. Keys compare without regard to case, as drivers treat them; order is kept.
class CConnectString {
  public:
    CConnectString() = default;
    static CConnectString Parse(const std::string& text);

    // The value of `key`, or empty.
    std::string Get(const std::string& key) const;
    bool Has(const std::string& key) const;
    // Replaces the value of `key`, or appends the pair.
    void Set(const std::string& key, const std::string& value);
    void Remove(const std::string& key);
    std::string ToString() const;
    const std::vector<std::pair<std::string, std::string>>& Pairs() const { return m_pairs; }

    static bool SameKey(const std::string& a, const std::string& b);

  private:
    std::vector<std::pair<std::string, std::string>> m_pairs;
};

}  // namespace tokeiya
