#include "screens/base/CCRWA_Tokeiya.hpp"

#include <algorithm>
#include <memory>

#include "shell/CTokeiyaDoc.hpp"
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

CConnection* CCRWA_Tokeiya::Database() const {
    return m_view.Document().GetDatabase();
}

CFunctionMenu* CCRWA_Tokeiya::FunctionMenu() const {
    return dynamic_cast<CFunctionMenu*>(GetFunctionMenu());
}

CCRWA_Tokeiya::Taken CCRWA_Tokeiya::TakeEdit() {
    CIIBase* item = CurrentItem();
    if (ActiveEditor() == nullptr || item == nullptr) {
        return Taken::Unchanged;
    }
    int changed = 0;
    if (!TakeCurrentResult(&changed)) {
        RejectEdit(&changed, true);
        ActivateItem(item);
        return Taken::Refused;
    }
    return changed != 0 ? Taken::Changed : Taken::Unchanged;
}

bool CCRWA_Tokeiya::SwitchScreen(ScreenId id) {
    if (!m_view.CanCreateScreen(id)) {
        return false;
    }
    CCRWMain::SwitchScreen(ScreenCode(id));
    return true;
}

bool CCRWA_Tokeiya::StoreOpenEdit(const std::function<void()>& store,
                                  const std::function<void()>& redraw) {
    if (ActiveEditor() == nullptr) {
        return true;
    }
    const Taken taken = TakeEdit();
    if (taken == Taken::Refused) {
        return false;
    }
    if (taken == Taken::Changed) {
        store();
    }
    redraw();
    CloseEditor();
    return true;
}

void CCRWA_Tokeiya::HideMainWindow() {
    m_view.MainWindow().ShowWindow(win::SW_HIDE);
}

}  // namespace tokeiya
