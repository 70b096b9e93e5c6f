#pragma once

#include <QWidget>

namespace velora::shell {

// The program's emblem, drawn rather than loaded: a white stylised "V" in a blue rounded
// square, its rising stroke topped by a gold spark for the incentive. Drawn on a 100 x 100 grid
// scaled to the widget, so it stays square at any size.
class VeloraEmblem : public QWidget {
    Q_OBJECT

public:
    explicit VeloraEmblem(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {80, 80}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace velora::shell
