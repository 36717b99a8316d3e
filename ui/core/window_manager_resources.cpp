// The window manager's resource tables: fonts, default attribute lists, window
// attributes, and text measuring in the window's fonts.
#include "ui/core/window_manager.h"

#include <algorithm>

#include "ui/core/drawing.h"
#include "ui/core/value_grammar.h"

namespace SkinUI {
namespace {

// Resources registered as shared, for every window of the process.
struct SharedResources {
    std::unordered_map<std::wstring, std::unique_ptr<FontInfo>> fonts;
    std::unordered_map<std::wstring, std::wstring> defaultAttributeLists;
    std::unique_ptr<FontInfo> defaultFont;
};

SharedResources& Shared() {
    static SharedResources shared;
    return shared;
}

}  // namespace

std::unique_ptr<FontInfo> CWindowManagerUI::CreateFontInfo(const std::wstring& faceName, int size, bool bold,
                                                           bool underline, bool italic) {
    LOGFONTW logFont{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    const size_t copied = std::min<size_t>(faceName.size(), LF_FACESIZE - 1);
    std::fill(std::begin(logFont.lfFaceName), std::end(logFont.lfFaceName), L'\0');
    std::copy_n(faceName.begin(), copied, logFont.lfFaceName);
    logFont.lfHeight = -size;
    logFont.lfCharSet = DEFAULT_CHARSET;
    // Bold adds to the base weight rather than replacing it.
    if (bold) logFont.lfWeight += FW_BOLD;
    if (underline) logFont.lfUnderline = TRUE;
    if (italic) logFont.lfItalic = TRUE;
    auto info = std::make_unique<FontInfo>();
    info->font.Reset(::CreateFontIndirectW(&logFont));
    if (!info->font) return nullptr;
    info->faceName = std::wstring(faceName, 0, copied);
    info->size = size;
    info->bold = bold;
    info->underline = underline;
    info->italic = italic;
    if (paintDc_ != nullptr) {
        ScopedSelect select(paintDc_, info->font.Get());
        info->hasMetrics = ::GetTextMetricsW(paintDc_, &info->metrics) != FALSE;
    }
    return info;
}

HFONT CWindowManagerUI::AddFont(int id, const std::wstring& faceName, int size, bool bold, bool underline,
                                bool italic, bool shared) {
    std::unique_ptr<FontInfo> info = CreateFontInfo(faceName, size, bold, underline, italic);
    if (!info) return nullptr;
    const HFONT font = info->font.Get();
    auto& table = (shared || sharedResources_) ? Shared().fonts : fonts_;
    table[std::to_wstring(id)] = std::move(info);
    return font;
}

void CWindowManagerUI::SetDefaultFont(const std::wstring& faceName, int size, bool bold, bool underline,
                                      bool italic, bool shared) {
    std::unique_ptr<FontInfo> info = CreateFontInfo(faceName, size, bold, underline, italic);
    if (!info) return;
    if (shared || sharedResources_) {
        Shared().defaultFont = std::move(info);
    } else {
        defaultFont_ = std::move(info);
    }
}

const FontInfo* CWindowManagerUI::GetFontInfo(int32_t id) {
    if (id >= 0) {
        const std::wstring key = std::to_wstring(id);
        if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second.get();
        if (const auto found = Shared().fonts.find(key); found != Shared().fonts.end()) return found->second.get();
    }
    if (defaultFont_ && defaultFont_->font) return defaultFont_.get();
    if (Shared().defaultFont) return Shared().defaultFont.get();
    return nullptr;
}

HFONT CWindowManagerUI::GetFont(int32_t id) {
    const FontInfo* info = GetFontInfo(id);
    return info != nullptr ? info->font.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void CWindowManagerUI::AddDefaultAttributeList(const std::wstring& className, const std::wstring& list,
                                               bool shared) {
    auto& table = (shared || sharedResources_) ? Shared().defaultAttributeLists : defaultAttributeLists_;
    table[className] = list;
}

const std::wstring* CWindowManagerUI::GetDefaultAttributeList(const std::wstring& className) const {
    if (const auto found = defaultAttributeLists_.find(className); found != defaultAttributeLists_.end()) {
        return &found->second;
    }
    const auto& shared = Shared().defaultAttributeLists;
    if (const auto found = shared.find(className); found != shared.end()) return &found->second;
    return nullptr;
}

void CWindowManagerUI::SetWindowAttribute(std::wstring_view name, std::wstring_view value) {
    auto is = [name](std::wstring_view known) { return EqualsIgnoringCase(name, known); };
    const auto toRect = [](std::wstring_view text) {
        const IntRect r = ParseRect(text);
        return RECT{r.left, r.top, r.right, r.bottom};
    };
    const auto toSize = [](std::wstring_view text) {
        const IntPair p = ParsePair(text);
        return SIZE{p.cx, p.cy};
    };
    if (is(L"size")) {
        initSize_ = toSize(value);
        if (root_ == nullptr && hwnd_ != nullptr) {
            ::SetWindowPos(hwnd_, nullptr, 0, 0, initSize_.cx, initSize_.cy,
                           SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        }
    } else if (is(L"sizebox")) {
        sizeBox_ = toRect(value);
    } else if (is(L"caption")) {
        caption_ = toRect(value);
    } else if (is(L"roundcorner")) {
        roundCorner_ = toSize(value);
    } else if (is(L"mininfo")) {
        minInfo_ = toSize(value);
    } else if (is(L"maxinfo")) {
        maxInfo_ = toSize(value);
    } else if (is(L"showdirty")) {
        showDirty_ = ParseWindowBoolean(value);
    } else if (name == L"noactivate") {
        noActivate_ = ParseWindowBoolean(value);
    } else if (is(L"opacity")) {
        opacity_ = static_cast<uint8_t>(std::clamp(ParseInteger(value), 0, 255));
        if (hwnd_ != nullptr) {
            const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
            ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, style | WS_EX_LAYERED);
            ::SetLayeredWindowAttributes(hwnd_, 0, opacity_, LWA_ALPHA);
        }
    } else if (name == L"layeredopacity") {
        layeredOpacity_ = static_cast<uint8_t>(std::clamp(ParseInteger(value), 0, 255));
    } else if (name == L"layeredimage") {
        layered_ = true;
        layeredImage_.SetDescription(std::wstring(value));
    } else if (is(L"disabledfontcolor")) {
        disabledFontColor_ = ParseColor(value);
    } else if (is(L"defaultfontcolor")) {
        defaultFontColor_ = ParseColor(value);
    } else if (is(L"linkfontcolor")) {
        linkFontColor_ = ParseColor(value);
    } else if (is(L"linkhoverfontcolor")) {
        linkHoverFontColor_ = ParseColor(value);
    } else if (is(L"selectedcolor")) {
        selectedColor_ = ParseColor(value);
    } else if (!name.empty()) {
        // The first value stored under a name is kept.
        windowCustomAttributes_.emplace(std::wstring(name), std::wstring(value));
    }
}

const std::wstring* CWindowManagerUI::GetWindowCustomAttribute(const std::wstring& name) const {
    if (name.empty()) return nullptr;
    const auto found = windowCustomAttributes_.find(name);
    return found != windowCustomAttributes_.end() ? &found->second : nullptr;
}

SIZE CWindowManagerUI::GetTextSize(HDC dc, std::wstring_view text, int fontId, UINT style) {
    return SkinUI::GetTextSize(dc, *this, text, fontId, style);
}

}  // namespace SkinUI
