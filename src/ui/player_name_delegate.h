// Draws player names in their colours: each stretch of a name in the colour its colour code
// gives, as the game shows it.
#pragma once

#include <QStyledItemDelegate>

namespace qla::ui {

class PlayerNameDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    // `nameRole` is the role under which the model gives the name with its colour codes.
    explicit PlayerNameDelegate(int nameRole, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), nameRole_(nameRole) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    int nameRole_;
};

// The colour a name's stretch is drawn in on `background`: the game's colour, darkened where
// it would not be read on a light background; white and uncoloured text in `text`.
QColor NameColour(int colourIndex, const QColor& background, const QColor& text);

} // namespace qla::ui
