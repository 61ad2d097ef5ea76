// The main window's client area: it holds the child windows, on a plain
// background colour with the banner picture at its top-left corner.
#pragma once

#include <QImage>
#include <QMdiArea>
#include <QSize>

namespace zentaro::shell {

class ClientArea : public QMdiArea
{
    Q_OBJECT

public:
    /// `clientSize` (pixels) is the size the area asks for.
    ClientArea(const QImage& picture, QSize clientSize, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QSize clientSize_;
};

} // namespace zentaro::shell
