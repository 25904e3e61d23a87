#include "platform/odbc/ConnectString.hpp"

#include <strings.h>
#include <algorithm>

namespace tokeiya {
namespace {

std::string Trim(const std::string& s) {
    size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

}  // namespace

bool CConnectString::SameKey(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

CConnectString CConnectString::Parse(const std::string& text) {
    CConnectString result;
    size_t i = 0;
    while (i < text.size()) {
        size_t eq = text.find('=', i);
        if (eq == std::string::npos) {
            break;
        }
        std::string key = Trim(text.substr(i, eq - i));
        size_t v = eq + 1;
        while (v < text.size() && text[v] == ' ') {
            ++v;
        }
        std::string value;
        if (v < text.size() && text[v] == '{') {
            // A braced value runs to the matching '}'; "}}" stands for one brace.
            size_t j = v + 1;
            while (j < text.size()) {
                if (text[j] == '}') {
                    if (j + 1 < text.size() && text[j + 1] == '}') {
                        value.push_back('}');
                        j += 2;
                        continue;
                    }
                    break;
                }
                value.push_back(text[j++]);
            }
            size_t semi = text.find(';', j);
            i = semi == std::string::npos ? text.size() : semi + 1;
        } else {
            size_t semi = text.find(';', v);
            value = Trim(text.substr(v, semi == std::string::npos ? std::string::npos : semi - v));
            i = semi == std::string::npos ? text.size() : semi + 1;
        }
        if (!key.empty()) {
            result.Set(key, value);
        }
    }
    return result;
}

std::string CConnectString::Get(const std::string& key) const {
    for (const auto& [k, v] : m_pairs) {
        if (SameKey(k, key)) {
            return v;
        }
    }
    return {};
}

bool CConnectString::Has(const std::string& key) const {
    return std::any_of(m_pairs.begin(), m_pairs.end(),
                       [&](const auto& pair) { return SameKey(pair.first, key); });
}

void CConnectString::Set(const std::string& key, const std::string& value) {
    for (auto& [k, v] : m_pairs) {
        if (SameKey(k, key)) {
            v = value;
            return;
        }
    }
    m_pairs.emplace_back(key, value);
}

void CConnectString::Remove(const std::string& key) {
    std::erase_if(m_pairs, [&](const auto& pair) { return SameKey(pair.first, key); });
}

std::string CConnectString::ToString() const {
    std::string text;
    for (const auto& [k, v] : m_pairs) {
        bool brace = v.find_first_of(";{}") != std::string::npos || v != Trim(v);
        text += k + "=";
        if (brace) {
            text += "{";
            for (char c : v) {
                text += c;
                if (c == '}') {
                    text += '}';
                }
            }
            text += "}";
        } else {
            text += v;
        }
        text += ";";
    }
    return text;
}

}  // namespace tokeiya
