#include "screens/base/CCRWA_Tokeiya.hpp"

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

void CCRWA_Tokeiya::HideMainWindow() {
    m_view.MainWindow().ShowWindow(win::SW_HIDE);
}

}  // namespace tokeiya
