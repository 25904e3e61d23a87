#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/CRect.hpp"
#include "platform/win/IHostWindow.hpp"

namespace tokeiya {

// A hit region: a rectangle (pixels for a plain mouse manager, cells for a window) tagged
// with an id, a sub-id and a caller-chosen kind (1 = click and wheel regions).
struct CMouseRect {
    std::int32_t id = 0;
    std::int32_t subId = 0;
    CRect rect;
    std::int32_t kind = 1;
    std::int32_t reserved = 0;
};

// Splits the host's mouse messages into one handler per button and action, keeps hit
// regions, and runs an auto-repeat timer for a held button. Handlers take (keys, x, y) in
// client pixels and return true when they consumed the message.
class CMouseManagerH {
  public:
    CMouseManagerH() = default;
    virtual ~CMouseManagerH();
    CMouseManagerH(const CMouseManagerH&) = delete;
    CMouseManagerH& operator=(const CMouseManagerH&) = delete;

    virtual void SetHost(win::IHostWindow* host);
    virtual win::IHostWindow* GetHost() const;
    virtual void SetMouseEnabled(bool enabled);
    bool MouseEnabled() const { return m_mouseEnabled; }

    virtual void AddRegion(const CRect& rect, int id, int subId, int kind);
    virtual void AddRegion(const CRect& rect, int id, int subId);
    // The first region of that kind, in list order, containing the point (left and top
    // inclusive); outputs untouched when none does.
    virtual bool HitTest(int x, int y, int& id, int& subId, int kind) const;
    virtual bool OnMouseMessage(const win::Message& message);

    virtual bool OnRButtonDblClk(int keys, int x, int y);
    virtual bool OnRButtonDown(int keys, int x, int y);
    virtual bool OnRButtonUp(int keys, int x, int y);
    virtual bool OnLButtonDown(int keys, int x, int y);
    virtual bool OnLButtonUp(int keys, int x, int y);
    virtual bool OnLButtonDblClk(int keys, int x, int y);
    virtual bool OnMButtonDown(int keys, int x, int y);
    virtual bool OnMButtonUp(int keys, int x, int y);
    virtual bool OnMButtonDblClk(int keys, int x, int y);
    virtual bool OnMouseMove(int keys, int x, int y);
    virtual bool OnMouseWheel(int keys, int delta, int x, int y);
    // True when timerId is the running repeat timer (its handler has then run).
    virtual bool OnTimer(win::UINT timerId);
    virtual void OnRepeatLButton();
    virtual void OnRepeatRButton();
    virtual void OnRepeatMButton();

    // A host timer for the button-down `kind` (513, 516 or 519) with the given period; its
    // id comes from the host's allocator, so that repeats of two managers never collide.
    // Not without host.
    void StartRepeat(int kind, int x, int y, int elapseMs);
    void StopRepeat();

    const std::vector<CMouseRect>& Regions() const { return m_regions; }
    win::UINT RepeatTimer() const { return m_repeatTimer; }
    int RepeatKind() const { return m_repeatKind; }
    int RepeatX() const { return m_repeatX; }
    int RepeatY() const { return m_repeatY; }

  protected:
    bool m_mouseEnabled = false;
    std::int32_t m_repeatX = 0;
    std::int32_t m_repeatY = 0;
    std::int32_t m_repeatKind = 0;
    win::UINT m_repeatTimer = 0;  // the running timer's id, 0 = none
    std::vector<CMouseRect> m_regions;
    win::IHostWindow* m_mouseHost = nullptr;
};

}  // namespace tokeiya
