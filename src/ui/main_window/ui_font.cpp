#include "ui/main_window/ui_font.h"

#include <algorithm>

namespace {

// The record without iPaddedBorderWidth, which systems before Vista reject.
constexpr UINT NONCLIENT_METRICS_SIZE = 340;
constexpr LONG MAX_FONT_HEIGHT = 12;

LOGFONTA defaultGuiFont()
{
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

}  // namespace

LOGFONTA systemMessageFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = NONCLIENT_METRICS_SIZE;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NONCLIENT_METRICS_SIZE, &metrics, 0)) {
        return defaultGuiFont();
    }
    return metrics.lfMessageFont;
}

HFONT createUiFont(LOGFONTA font)
{
    font.lfHeight = std::clamp(font.lfHeight, -MAX_FONT_HEIGHT, MAX_FONT_HEIGHT);
    return CreateFontIndirectA(&font);
}
