#pragma once
// A status bar of fixed-width panels that its owner paints.

#include <QWidget>

#include <functional>
#include <vector>

namespace tessaran {

class TStatusBar : public QWidget {
    Q_OBJECT
public:
    struct TPanel {
        int Width = 50;
        QString Text;
    };

    explicit TStatusBar(QWidget *parent = nullptr);

    std::vector<TPanel> Panels;
    // Paints one panel; unset, the panel is left empty.
    std::function<void(QPainter &, int panelIndex, const QRect &)> OnDrawPanel;

    void SetPanelText(int index, const QString &text);
    QRect PanelRect(int index) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tessaran
