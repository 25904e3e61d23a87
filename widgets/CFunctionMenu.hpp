#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/CKeyManager.hpp"
#include "engine/CMouseManagerH.hpp"
#include "engine/IFunctionKeyBar.hpp"
#include "platform/gdi/CRect.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// The bar of twelve captioned boxes along the foot of a screen, one per function key, in
// three groups of four. A released function key, or a click on a box, becomes the command
// labelSet x 100 + key posted to the host as WM_FUNCTION_KEY with the modifier bits; the
// key press itself is left to others, so a held key never repeats a command. The geometry
// follows the host's client size, so the bar needs no layout of its own.
//
// Each key has a caption in each of three label sets; the set shown is also the one the
// commands carry. Keys are numbered 1 to 12; any other number is ignored by every label
// operation.
class CFunctionMenu : public IFunctionKeyBar, public CKeyManager, public CMouseManagerH {
  public:
    // Text, box, highlighted text and highlighted box colour of one label set.
    struct Colors {
        COLORREF text;
        COLORREF box;
        COLORREF highlightText;
        COLORREF highlightBox;
    };
    static const std::array<Colors, kLabelSets> kColors;
    // The package LoadLabels reads until SetLabelFile names another.
    static constexpr std::string_view kDefaultLabelFile = "default.gfd";

    // Without `withInterfaces` the bar only paints: it takes no keys and no clicks.
    CFunctionMenu(win::IHostWindow* host, bool withInterfaces);
    ~CFunctionMenu() override;

    // The one host of the bar, its key and its mouse handling alike.
    void SetHost(win::IHostWindow* host) override;
    win::IHostWindow* GetHost() const override;

    void SetLabel(int labelSet, int key, const std::string& text, bool redraw) override;
    // The three labels of `key`; a label set left out (nullopt) takes `label0`, while an
    // empty text stays empty.
    virtual void SetLabels(int key, const std::string& label0,
                           const std::optional<std::string>& label1 = std::nullopt,
                           const std::optional<std::string>& label2 = std::nullopt);
    std::string GetLabel(int labelSet, int key) const override;
    bool HasLabel(int labelSet, int key) const override;

    void Paint(CDC& dc) override;
    void SetVisible(bool visible) override;
    bool IsVisible() const override { return m_visible; }
    virtual void RedrawKey(int key);
    void RedrawBar() override;

    bool OfferKey(const win::Message& message) override;
    bool OfferMouse(const win::Message& message) override;

    // The labels and fileValue of the record `name` in the package at `path` (the program's
    // label file when empty). False, with the labels unchanged, when the file cannot be read
    // or has no such record. `redraw` repaints a visible bar after a load.
    bool LoadLabels(std::string_view name, const std::string& path, bool redraw);

    // The program's label file, kept in the process-wide context; "default.gfd" until set.
    static void SetLabelFile(const std::string& path);
    static std::string LabelFile();

    // Key 0..12 drawn highlighted (0 = none; any other number becomes 0), then a redraw.
    void SetHighlight(int key);
    int Highlight() const { return m_highlightKey; }
    // Label set 0..2 shown and carried by the commands (others are ignored), then a redraw.
    void SetLabelSet(int labelSet);
    int LabelSet() const { return m_labelSet; }
    void SetFileValue(int value) { m_fileValue = value; }
    int FileValue() const { return m_fileValue; }
    // A screen whose shifted keys do something else names the label set that says what
    // (1 or 2) and is shown while Shift is held; 0, the default, leaves Shift alone.
    void SetShiftSet(int labelSet) { m_shiftSet = ValidSet(labelSet) ? labelSet : 0; }
    // While set, F1 is not taken as a command (a click on its box still is).
    void SetReserveF1(bool reserve) { m_reserveF1 = reserve; }
    bool ReserveF1() const { return m_reserveF1; }

    // The bar and key `key`'s box in client pixels, from the host's client size; false
    // without a host, with an empty client area or for a key out of range.
    bool GetBarRect(CRect& rect) const;
    bool GetKeyRect(int key, CRect& rect) const;

  protected:
    bool OnFKey(int n, int modifiers, bool down) override;
    // With SetShiftSet, Shift held shows that label set and its commands are carried.
    bool OnShift(int modifiers, bool down) override;
    bool OnLButtonUp(int keys, int x, int y) override;

    // Posts the command for `key` in the shown label set.
    void PostFunctionKey(int key, int modifiers);
    // Moves mouse region k onto key k's box.
    void PlaceRegions();

  private:
    static bool ValidKey(int key) { return key >= 1 && key <= kKeyCount; }
    static bool ValidSet(int labelSet) { return labelSet >= 0 && labelSet < kLabelSets; }
    std::string& Label(int labelSet, int key);
    const std::string& Label(int labelSet, int key) const;
    bool KeyRectIn(const CRect& bar, int key, CRect& rect) const;
    void PaintKey(CDC& dc, int key, const CRect& box) const;

    // labels[key - 1][set]
    std::array<std::array<std::string, kLabelSets>, kKeyCount> m_labels;
    std::int32_t m_labelSet = 0;
    int m_shiftSet = 0;
    std::int32_t m_fileValue = 3;
    std::int32_t m_highlightKey = 0;
    bool m_visible = true;
    bool m_reserveF1 = true;
    bool m_withInterfaces = false;
    win::IHostWindow* m_host = nullptr;
};

}  // namespace tokeiya
