#pragma once

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <memory>

// One owning handle per C object the device context uses. `Adopt` takes over a reference
// the caller holds; `Reference` adds one.
namespace tokeiya::gdi {

struct CairoDestroy {
    void operator()(cairo_t* p) const noexcept { cairo_destroy(p); }
};
using CairoPtr = std::unique_ptr<cairo_t, CairoDestroy>;

inline CairoPtr AdoptCairo(cairo_t* cr) {
    return CairoPtr(cr);
}
inline CairoPtr ReferenceCairo(cairo_t* cr) {
    return CairoPtr(cairo_reference(cr));
}

struct SurfaceDestroy {
    void operator()(cairo_surface_t* p) const noexcept { cairo_surface_destroy(p); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDestroy>;

struct FontFaceDestroy {
    void operator()(cairo_font_face_t* p) const noexcept { cairo_font_face_destroy(p); }
};
using FontFacePtr = std::unique_ptr<cairo_font_face_t, FontFaceDestroy>;

inline FontFacePtr ReferenceFontFace(cairo_font_face_t* face) {
    return FontFacePtr(cairo_font_face_reference(face));
}

struct ScaledFontDestroy {
    void operator()(cairo_scaled_font_t* p) const noexcept { cairo_scaled_font_destroy(p); }
};
using ScaledFontPtr = std::unique_ptr<cairo_scaled_font_t, ScaledFontDestroy>;

struct FontOptionsDestroy {
    void operator()(cairo_font_options_t* p) const noexcept { cairo_font_options_destroy(p); }
};
using FontOptionsPtr = std::unique_ptr<cairo_font_options_t, FontOptionsDestroy>;

struct FontDescriptionFree {
    void operator()(PangoFontDescription* p) const noexcept { pango_font_description_free(p); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionFree>;

struct GlyphStringFree {
    void operator()(PangoGlyphString* p) const noexcept { pango_glyph_string_free(p); }
};
using GlyphStringPtr = std::unique_ptr<PangoGlyphString, GlyphStringFree>;

struct AttrListUnref {
    void operator()(PangoAttrList* p) const noexcept { pango_attr_list_unref(p); }
};
using AttrListPtr = std::unique_ptr<PangoAttrList, AttrListUnref>;

struct ItemListFree {
    void operator()(GList* p) const noexcept {
        g_list_free_full(p, [](gpointer item) { pango_item_free(static_cast<PangoItem*>(item)); });
    }
};
using ItemListPtr = std::unique_ptr<GList, ItemListFree>;

struct ObjectUnref {
    void operator()(gpointer p) const noexcept { g_object_unref(p); }
};
template <typename T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct PatternDestroy {
    void operator()(FcPattern* p) const noexcept { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDestroy>;

}  // namespace tokeiya::gdi
