#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/IHostWindow.hpp"

namespace tokeiya {

// One key binding: a virtual key with the exact modifier bits it needs (-1 = any), and
// for a command key the command number it becomes.
struct CKeySet {
    std::int32_t key = 0;
    std::int32_t modifiers = -1;
    std::int32_t value = 0;

    bool Matches(int virtualKey, int currentModifiers) const {
        return key == virtualKey && (modifiers == -1 || modifiers == currentModifiers);
    }
};

// Turns the host's key messages into one handler call per named key, and hands keys that
// nobody handled up to the host: as exit keys (the active screen's OnExitKey) or, for
// bound command keys, as command numbers. Handlers return true when they consumed the key.
class CKeyManager {
  public:
    // Tab, Return, Esc, PageUp, PageDown, End and the four arrows, any modifiers; ends
    // with a key-0 entry.
    static const CKeySet kDefaultExitKeys[];

    CKeyManager() = default;
    virtual ~CKeyManager() = default;
    CKeyManager(const CKeyManager&) = delete;
    CKeyManager& operator=(const CKeyManager&) = delete;

    virtual void SetHost(win::IHostWindow* host);
    virtual win::IHostWindow* GetHost() const;

    virtual bool OnBS(int modifiers, bool down);
    virtual bool OnTab(int modifiers, bool down);
    virtual bool OnClear(int modifiers, bool down);
    virtual bool OnReturn(int modifiers, bool down);
    virtual bool OnEsc(int modifiers, bool down);
    virtual bool OnPageUp(int modifiers, bool down);
    virtual bool OnPageDown(int modifiers, bool down);
    virtual bool OnEnd(int modifiers, bool down);
    virtual bool OnHome(int modifiers, bool down);
    virtual bool OnLeft(int modifiers, bool down);
    virtual bool OnUp(int modifiers, bool down);
    virtual bool OnRight(int modifiers, bool down);
    virtual bool OnDown(int modifiers, bool down);
    virtual bool OnPrint(int modifiers, bool down);
    virtual bool OnInsert(int modifiers, bool down);
    virtual bool OnDelete(int modifiers, bool down);
    virtual bool OnSpace(int modifiers, bool down);
    virtual bool OnCtrl(int modifiers, bool down);
    virtual bool OnShift(int modifiers, bool down);
    // n = 1..20 for F1..F20.
    virtual bool OnFKey(int n, int modifiers, bool down);
    // Every key without a name of its own; repeat is always 1.
    virtual bool OnOtherKey(int virtualKey, int repeat, bool down);
    // WM_CHAR: one CP932 byte in wParam.
    virtual bool OnChar(const win::Message& message);
    virtual bool OnKey(const win::Message& message, bool down);
    virtual bool OnKeyDown(const win::Message& message);
    virtual bool OnKeyUp(const win::Message& message);

    // Posts WM_EXIT_KEY (wParam key, lParam modifiers) to the host; nothing without host.
    virtual void PostExitKey(int virtualKey, int modifiers);
    // What the host calls on the active screen for each exit-key message.
    virtual bool OnExitKey(int virtualKey, int modifiers);
    // Posts WM_COMMAND_KEY (wParam command) to the host; nothing without host.
    virtual void PostCommand(int command);
    virtual bool OnCommand(int command);
    // Appends the table up to its first key-0 entry, after emptying the exit keys when
    // `clear`; a null table is the default table.
    virtual void SetExitKeys(const CKeySet* table, bool clear);

    void AddExitKey(int virtualKey, int modifiers);
    std::vector<CKeySet>& ExitKeys() { return m_exitKeys; }
    std::vector<CKeySet>& ExitKeysUp() { return m_exitKeysUp; }
    std::vector<CKeySet>& CommandKeys() { return m_commandKeys; }

    int LastModifiers() const { return m_lastModifiers; }
    int LastKey() const { return m_lastKey; }
    bool LastDown() const { return m_lastDown; }

  protected:
    std::int32_t m_lastModifiers = 0;
    std::int32_t m_lastKey = 0;
    bool m_lastDown = false;
    win::IHostWindow* m_keyHost = nullptr;
    std::vector<CKeySet> m_exitKeys;
    std::vector<CKeySet> m_exitKeysUp;
    std::vector<CKeySet> m_commandKeys;
};

}  // namespace tokeiya
