#pragma once

#include <memory>
#include <span>

#include "engine/CCRWin.hpp"
#include "shell/ScreenId.hpp"

namespace tokeiya {

class CTokeiyaView;

// One row of the screen table: how to build a screen and how the view treats it.
struct ScreenEntry {
    ScreenId id = ScreenId::MonthSchedule;
    // Null for a screen the program does not have yet: its id is refused.
    std::unique_ptr<CCRWin> (*create)(CTokeiyaView& view) = nullptr;
    // Switching to a screen without this clears the user chosen on the salary list.
    bool keepsChosenUser = false;
    // Hears that the option dialog changed the lunch minutes and the like.
    bool hearsOptionChanges = false;
    // Looks for other computers' changes on the view's minute timer.
    bool refreshedEachMinute = false;
};

// The table of the work screens. The screens live in the layer above the shell, so the
// program hands the view their table instead of the view naming them.
class IScreenFactory {
  public:
    virtual ~IScreenFactory() = default;
    virtual std::span<const ScreenEntry> Entries() const = 0;

    // The row of `code`; null for a code not in the table.
    const ScreenEntry* Find(int code) const {
        for (const ScreenEntry& entry : Entries()) {
            if (ScreenCode(entry.id) == code) {
                return &entry;
            }
        }
        return nullptr;
    }
};

}  // namespace tokeiya
