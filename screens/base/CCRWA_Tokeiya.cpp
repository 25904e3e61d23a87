#include "screens/base/CCRWA_Tokeiya.hpp"

#include <algorithm>
#include <memory>

#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {

CCRWA_Tokeiya::CCRWA_Tokeiya(CTokeiyaView& view, const std::string& drawingName,
                             const std::string& menuName)
    : CCRWMain(&view.Window()), m_view(view) {
    if (!menuName.empty()) {
        auto bar = std::make_unique<CFunctionMenu>(&view.Window(), true);
        // A package without the screen's record leaves the keys unlabelled; they still work.
        bar->LoadLabels(menuName, "", false);
        SetFunctionMenu(std::move(bar));
    }
    if (!drawingName.empty()) {
        LoadFromPackage(drawingName);
    }
}

CCRWA_Tokeiya::~CCRWA_Tokeiya() = default;

void CCRWA_Tokeiya::OnOptionsChanged() {}

void CCRWA_Tokeiya::OnPeriodicRefresh() {}

CFunctionMenu* CCRWA_Tokeiya::FunctionMenu() const {
    return dynamic_cast<CFunctionMenu*>(GetFunctionMenu());
}

int CCRWA_Tokeiya::TakeEdit() {
    CIIBase* item = CurrentItem();
    if (ActiveEditor() == nullptr || item == nullptr) {
        return 0;
    }
    int changed = 0;
    if (!TakeCurrentResult(&changed)) {
        RejectEdit(&changed, true);
        ActivateItem(item);
        return -1;
    }
    return changed != 0 ? 1 : 0;
}

void CCRWA_Tokeiya::MakeRowVisible(int row, int count, int pageRows, int& top, int& cursor) {
    if (row < 0 || row >= count) {
        return;
    }
    if (row < top || row >= top + pageRows) {
        top = std::max(0, std::min(row, count - pageRows));
    }
    cursor = row - top;
}

void CCRWA_Tokeiya::ShowListScrollBar(CCRWScrollBar*& bar, bool shown, int col, int line, int rows,
                                      int count, int position) {
    constexpr int kBarId = 1;
    if (shown && bar == nullptr) {
        bar = CreateScrollBar(col, line, rows, kBarId, 0, 1, true);
    } else if (!shown && bar != nullptr) {
        // The engine's bar has no hidden state: it leaves the window.
        DestroyScrollBar(bar);
        bar = nullptr;
    }
    if (bar != nullptr) {
        bar->SetRange(0, count - 1, false);
        bar->SetPosition(position, true);
    }
}

void CCRWA_Tokeiya::HideMainWindow() {
    m_view.MainWindow().ShowWindow(win::SW_HIDE);
}

}  // namespace tokeiya
