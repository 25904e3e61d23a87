#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/IFunctionKeyBar.hpp"

namespace tokeiya::test {

// A function-key bar that keeps its captions and writes down what it is offered; it takes
// the keys listed in `takes` (virtual-key codes).
class FakeFunctionKeyBar : public IFunctionKeyBar {
  public:
    void SetHost(win::IHostWindow* host) override { m_host = host; }
    win::IHostWindow* GetHost() const override { return m_host; }

    void SetLabel(int labelSet, int key, const std::string& text, bool redraw) override {
        if (Valid(labelSet, key)) {
            m_labels[Index(labelSet)][Index(key - 1)] = text;
            redraws += redraw ? 1 : 0;
        }
    }
    std::string GetLabel(int labelSet, int key) const override {
        return Valid(labelSet, key) ? m_labels[Index(labelSet)][Index(key - 1)] : std::string();
    }
    bool HasLabel(int labelSet, int key) const override { return !GetLabel(labelSet, key).empty(); }

    void SetVisible(bool visible) override { m_visible = visible; }
    bool IsVisible() const override { return m_visible; }
    void RedrawBar() override { ++redraws; }
    void Paint(CDC&) override { ++paints; }

    bool OfferKey(const win::Message& message) override {
        keys.push_back(message);
        for (int key : takes) {
            if (message.wParam == static_cast<win::WPARAM>(key)) {
                return true;
            }
        }
        return false;
    }
    bool OfferMouse(const win::Message& message) override {
        mouse.push_back(message);
        return false;
    }

    std::vector<int> takes;
    std::vector<win::Message> keys;
    std::vector<win::Message> mouse;
    int redraws = 0;
    int paints = 0;

  private:
    static bool Valid(int labelSet, int key) {
        return labelSet >= 0 && labelSet < kLabelSets && key >= 1 && key <= kKeyCount;
    }
    static std::size_t Index(int i) { return static_cast<std::size_t>(i); }

    win::IHostWindow* m_host = nullptr;
    bool m_visible = true;
    std::array<std::array<std::string, kKeyCount>, kLabelSets> m_labels;
};

}  // namespace tokeiya::test
