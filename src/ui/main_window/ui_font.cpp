#include "ui/main_window/ui_font.h"

#include <cstddef>
#include <cstring>

#include "ui/main_window/dpi_scale.h"
#include "ui/main_window/window_dpi.h"

namespace {

// The record without iPaddedBorderWidth, which systems before Vista reject.
constexpr UINT NONCLIENT_METRICS_SIZE = 340;

LOGFONTA defaultGuiFont()
{
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

// The metrics for any DPI come only in the wide form; the face name is
// converted, and left empty (the system's choice) when it cannot be.
LOGFONTA narrowFont(const LOGFONTW& wide)
{
    LOGFONTA font{};
    std::memcpy(&font, &wide, offsetof(LOGFONTW, lfFaceName));
    if (WideCharToMultiByte(CP_ACP, 0, wide.lfFaceName, -1, font.lfFaceName, LF_FACESIZE, nullptr, nullptr) == 0)
        font.lfFaceName[0] = '\0';
    return font;
}

bool messageFontForDpi(int dpi, LOGFONTA& font)
{
    using ForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = newerUser32Function<ForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi == nullptr ||
        !forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(usableDpi(dpi))))
        return false;
    font = narrowFont(metrics.lfMessageFont);
    return true;
}

// Systems without metrics per DPI give them at the screen's DPI.
LOGFONTA messageFontAtScreenDpi()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = NONCLIENT_METRICS_SIZE;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NONCLIENT_METRICS_SIZE, &metrics, 0))
        return defaultGuiFont();
    return metrics.lfMessageFont;
}

}  // namespace

LOGFONTA systemMessageFont(int dpi)
{
    LOGFONTA font{};
    if (messageFontForDpi(dpi, font))
        return font;
    font = messageFontAtScreenDpi();
    font.lfHeight = scaleToDpi(font.lfHeight, dpi, screenDpi());
    return font;
}

HFONT createUiFont(LOGFONTA font, int dpi)
{
    font.lfHeight = limitFontHeight(font.lfHeight, dpi);
    return CreateFontIndirectA(&font);
}
