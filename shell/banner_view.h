// What the banner window shows: a one-pixel border around the banner
// picture, drawn from the top-left corner of the inside.
#pragma once

#include <QFrame>
#include <QImage>
#include <QSize>

namespace zentaro::shell {

class BannerView : public QFrame
{
    Q_OBJECT

public:
    /// `clientSize` (pixels) is the inside of the border.
    BannerView(const QImage& picture, QSize clientSize, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace zentaro::shell
