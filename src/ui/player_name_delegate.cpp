// The coloured player names of the player table.
#include "ui/player_name_delegate.h"

#include "core/colour_runs.h"

#include <QApplication>
#include <QPainter>

#include <array>

namespace qla::ui {

namespace {

// The game's eight colours (as the classic pages write them), and the same hues dark enough to
// read on white.
constexpr std::array<QRgb, 8> kBrightColours{0x000000, 0xFF0000, 0x00FF00, 0xFFFF00,
                                             0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
constexpr std::array<QRgb, 8> kDarkColours{0x000000, 0xCC0000, 0x008800, 0x998800,
                                           0x0000DD, 0x008888, 0xAA00AA, 0xFFFFFF};
constexpr int kWhite = 7;

} // namespace

QColor NameColour(int colourIndex, const QColor& background, const QColor& text) {
    // White is the game's plain text colour; no code at all reads the same.
    if (colourIndex < 0 || colourIndex >= kWhite)
        return text;
    const bool lightBackground = background.lightness() > 127;
    const auto& colours = lightBackground ? kDarkColours : kBrightColours;
    // Black on a dark background would vanish: there it is drawn as plain text.
    if (colourIndex == 0 && !lightBackground)
        return text;
    return QColor(colours[static_cast<std::size_t>(colourIndex)]);
}

void PlayerNameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QString coloured = index.data(nameRole_).toString();
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // The cell's frame, background and selection as any other cell, without its text.
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor base =
        selected ? option.palette.color(QPalette::Highlight) : option.palette.color(QPalette::Base);
    const QColor text = selected ? option.palette.color(QPalette::HighlightedText)
                                 : option.palette.color(QPalette::Text);
    QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &background, widget);
    const QFontMetrics metrics(option.font);
    painter->save();
    painter->setFont(option.font);
    painter->setClipRect(area);
    const QByteArray utf8 = coloured.toUtf8();
    ForEachColourRun(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                     [&](const ColourRun& run) {
                         if (area.width() <= 0)
                             return;
                         const QString part = QString::fromUtf8(
                             run.Text.data(), static_cast<qsizetype>(run.Text.size()));
                         painter->setPen(NameColour(run.Colour, base, text));
                         painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, part);
                         area.setLeft(area.left() + metrics.horizontalAdvance(part));
                     });
    painter->restore();
}

} // namespace qla::ui
