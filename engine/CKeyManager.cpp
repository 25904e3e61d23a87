#include "engine/CKeyManager.hpp"

namespace tokeiya {

using namespace win;

const CKeySet CKeyManager::kDefaultExitKeys[] = {
    {VK_TAB, -1, 0},   {VK_RETURN, -1, 0}, {VK_ESCAPE, -1, 0}, {VK_PRIOR, -1, 0},
    {VK_NEXT, -1, 0},  {VK_END, -1, 0},    {VK_LEFT, -1, 0},   {VK_UP, -1, 0},
    {VK_RIGHT, -1, 0}, {VK_DOWN, -1, 0},   {0, -1, 0},
};

namespace {

// The first entry of `keys` that matches, as an index; -1 when none does. An index, not a
// reference: the handler that runs next may change the array.
int FindMatch(const std::vector<CKeySet>& keys, int virtualKey, int modifiers) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].Matches(virtualKey, modifiers)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

void CKeyManager::SetHost(IHostWindow* host) {
    m_keyHost = host;
}

IHostWindow* CKeyManager::GetHost() const {
    return m_keyHost;
}

bool CKeyManager::OnBS(int, bool) {
    return false;
}
bool CKeyManager::OnTab(int, bool) {
    return false;
}
bool CKeyManager::OnClear(int, bool) {
    return false;
}
bool CKeyManager::OnReturn(int, bool) {
    return false;
}
bool CKeyManager::OnEsc(int, bool) {
    return false;
}
bool CKeyManager::OnPageUp(int, bool) {
    return false;
}
bool CKeyManager::OnPageDown(int, bool) {
    return false;
}
bool CKeyManager::OnEnd(int, bool) {
    return false;
}
bool CKeyManager::OnHome(int, bool) {
    return false;
}
bool CKeyManager::OnLeft(int, bool) {
    return false;
}
bool CKeyManager::OnUp(int, bool) {
    return false;
}
bool CKeyManager::OnRight(int, bool) {
    return false;
}
bool CKeyManager::OnDown(int, bool) {
    return false;
}
bool CKeyManager::OnPrint(int, bool) {
    return false;
}
bool CKeyManager::OnInsert(int, bool) {
    return false;
}
bool CKeyManager::OnDelete(int, bool) {
    return false;
}
bool CKeyManager::OnSpace(int, bool) {
    return false;
}
bool CKeyManager::OnCtrl(int, bool) {
    return false;
}
bool CKeyManager::OnShift(int, bool) {
    return false;
}
bool CKeyManager::OnFKey(int, int, bool) {
    return false;
}
bool CKeyManager::OnOtherKey(int, int, bool) {
    return false;
}
bool CKeyManager::OnChar(const Message&) {
    return false;
}

bool CKeyManager::OnKey(const Message& message, bool down) {
    const int modifiers = m_keyHost != nullptr ? m_keyHost->ModifierState() : 0;
    const int key = static_cast<int>(message.wParam);
    m_lastModifiers = modifiers;
    m_lastKey = key;
    m_lastDown = down;

    if (down) {
        const int command = FindMatch(m_commandKeys, key, modifiers);
        if (command >= 0) {
            PostCommand(m_commandKeys[static_cast<std::size_t>(command)].value);
            return true;
        }
    }

    bool handled = false;
    switch (key) {
        case VK_BACK:
            handled = OnBS(modifiers, down);
            break;
        case VK_TAB:
            handled = OnTab(modifiers, down);
            break;
        case VK_CLEAR:
            handled = OnClear(modifiers, down);
            break;
        case VK_RETURN:
            handled = OnReturn(modifiers, down);
            break;
        case VK_SHIFT:
            handled = OnShift(modifiers, down);
            break;
        case VK_CONTROL:
            handled = OnCtrl(modifiers, down);
            break;
        case VK_ESCAPE:
            handled = OnEsc(modifiers, down);
            break;
        case VK_SPACE:
            handled = OnSpace(modifiers, down);
            break;
        case VK_PRIOR:
            handled = OnPageUp(modifiers, down);
            break;
        case VK_NEXT:
            handled = OnPageDown(modifiers, down);
            break;
        case VK_END:
            handled = OnEnd(modifiers, down);
            break;
        case VK_HOME:
            handled = OnHome(modifiers, down);
            break;
        case VK_LEFT:
            handled = OnLeft(modifiers, down);
            break;
        case VK_UP:
            handled = OnUp(modifiers, down);
            break;
        case VK_RIGHT:
            handled = OnRight(modifiers, down);
            break;
        case VK_DOWN:
            handled = OnDown(modifiers, down);
            break;
        case VK_PRINT:
            handled = OnPrint(modifiers, down);
            break;
        case VK_INSERT:
            handled = OnInsert(modifiers, down);
            break;
        case VK_DELETE:
            handled = OnDelete(modifiers, down);
            break;
        default:
            // Function keys belong to their handler alone: they never become exit keys.
            if (key >= VK_F1 && key <= VK_F20) {
                return OnFKey(key - VK_F1 + 1, modifiers, down);
            }
            handled = OnOtherKey(key, 1, down);
            break;
    }
    if (handled) {
        return true;
    }

    const std::vector<CKeySet>& exits = down ? m_exitKeys : m_exitKeysUp;
    if (FindMatch(exits, key, modifiers) >= 0) {
        PostExitKey(key, modifiers);
        return true;
    }
    return false;
}

bool CKeyManager::OnKeyDown(const Message& message) {
    return OnKey(message, true);
}

bool CKeyManager::OnKeyUp(const Message& message) {
    return OnKey(message, false);
}

void CKeyManager::PostExitKey(int virtualKey, int modifiers) {
    if (m_keyHost != nullptr) {
        m_keyHost->PostMessage(WM_EXIT_KEY, static_cast<WPARAM>(virtualKey),
                               static_cast<LPARAM>(modifiers));
    }
}

bool CKeyManager::OnExitKey(int, int) {
    return false;
}

void CKeyManager::PostCommand(int command) {
    if (m_keyHost != nullptr) {
        m_keyHost->PostMessage(WM_COMMAND_KEY, static_cast<WPARAM>(command), 0);
    }
}

bool CKeyManager::OnCommand(int) {
    return false;
}

void CKeyManager::SetExitKeys(const CKeySet* table, bool clear) {
    if (clear) {
        m_exitKeys.clear();
    }
    if (table == nullptr) {
        table = kDefaultExitKeys;
    }
    for (; table->key != 0; ++table) {
        m_exitKeys.push_back(*table);
    }
}

void CKeyManager::AddExitKey(int virtualKey, int modifiers) {
    m_exitKeys.push_back(CKeySet{virtualKey, modifiers, 0});
}

}  // namespace tokeiya
