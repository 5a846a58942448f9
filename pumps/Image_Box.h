#pragma once
// A fixed-size picture on a form: the widget paints its own image, which
// the form's code draws on through a canvas whenever it likes.

#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>

namespace tessaran {

class TImageBox : public QWidget {
    Q_OBJECT
public:
    TImageBox(int width, int height, QWidget *parent = nullptr);

    // The picture the box shows; draw on it, then call update().
    QImage Picture;

signals:
    void Clicked(QPoint at);
    // The mouse moved over the box (tracked without a button pressed).
    void Moved(QPoint at);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
};

// Asks for a picture file to read; a name that is not there is refused with
// "Image File not found." and gives none.
std::optional<QString> ChooseExistingPicture(QWidget *parent, const QString &caption, const QString &filter);

} // namespace tessaran
