#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace tokeiya {

// The rows of an edited list as they were last read or stored, kept beside the rows the
// user edits, so that a store writes only what the user changed since (the record classes
// take them as `asRead`). A row added on the screen has none until it is first stored.
template <class Row>
class RowsAsRead {
  public:
    void Loaded(const std::vector<Row>& rows) { m_rows.assign(rows.begin(), rows.end()); }
    // Null for a row never read nor stored.
    const Row* Find(size_t index) const {
        return index < m_rows.size() && m_rows[index] ? &*m_rows[index] : nullptr;
    }
    void Stored(size_t index, const Row& row) {
        if (index >= m_rows.size()) {
            m_rows.resize(index + 1);
        }
        m_rows[index] = row;
    }

  private:
    std::vector<std::optional<Row>> m_rows;
};

}  // namespace tokeiya
