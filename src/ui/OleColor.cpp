#include "ui/OleColor.h"

#include <QPalette>
#include <array>

namespace twinscan {

namespace {
constexpr int none = -1;

// The desktop's system colours by index, as the nearest palette roles.
constexpr std::array<int, 31> systemRoles = {
    QPalette::Mid, QPalette::Dark, QPalette::Highlight, QPalette::Mid, // scroll bar .. caption
    QPalette::Window, QPalette::Base, QPalette::Shadow, QPalette::WindowText, // menu .. menu text
    QPalette::Text, QPalette::HighlightedText, QPalette::Button, QPalette::Button, // .. borders
    QPalette::Mid, QPalette::Highlight, QPalette::HighlightedText, QPalette::Button, // .. face
    QPalette::Dark, QPalette::PlaceholderText, QPalette::ButtonText, QPalette::Text, // .. text
    QPalette::Light, QPalette::Shadow, QPalette::Midlight, QPalette::ToolTipText, // .. info text
    QPalette::ToolTipBase, none, QPalette::Link, QPalette::Highlight, QPalette::Mid, // .. caption
    QPalette::Highlight, QPalette::Window, // menu highlight, menu bar
};

std::optional<QColor> systemColorOf(int index, const QPalette &palette)
{
    if (index < 0 || index >= int(systemRoles.size()) || systemRoles[std::size_t(index)] == none)
        return std::nullopt;
    return palette.color(QPalette::ColorRole(systemRoles[std::size_t(index)]));
}

QColor rgbOf(OleColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}
} // namespace

std::optional<QColor> fillColor(OleColor color, const QPalette &palette)
{
    return color < 0 ? systemColorOf(color & 0x1F, palette) : rgbOf(color);
}

std::optional<QColor> textColor(OleColor color, const QPalette &palette)
{
    return color < 0 ? systemColorOf(color & 0xFF, palette) : rgbOf(color);
}

} // namespace twinscan
