#include "shell/info_window.h"

#include "designs/colour.h"
#include "designs/units.h"
#include "platform/platform.h"
#include "platform/qt_bridge.h"

#include <QLabel>
#include <QPixmap>

namespace zentaro::shell {
namespace {

constexpr int kClientWidthTwips = 4680;  // 312 pixels at 96 dpi
constexpr int kClientHeightTwips = 3195; // 213 pixels at 96 dpi

// The labels' boxes in twips (Left, Top, Width, Height).
constexpr TwipBox kImage1Box{120, 120, 480, 480};
constexpr TwipBox kLabel1Box{720, 120, 1215, 255};
constexpr TwipBox kLabel2Box{120, 720, 1815, 255};
constexpr TwipBox kLabel3Box{120, 960, 2295, 255};
constexpr TwipBox kLabel4Box{120, 1440, 4335, 615};

// The texts, as stored: a doubled space after the first "è" and no space
// after either comma.
constexpr const char* kLabel1Text = "ZENTARO 1.3";
constexpr const char* kLabel2Text = "Autore: Fosmaro Telvio";
constexpr const char* kLabel3Text = "Gruppo Astrofili Corvalena";
constexpr const char* kLabel4Text =
    "Il programma è  libero,è stato fatto solo per aiutare gli astrofili nell'uso "
    "dell'autoguida manuale,e centrare i campi con stelle luminose.";

// The system's usual dialog font: a regular sans-serif of 8 points, metric
// compatible with the face the boxes were laid out for, so that Label1 to
// Label3 stay on one line and Label4 takes three.
constexpr const char* kDialogFace = "Liberation Sans";
constexpr int kDialogPointSize = 8;

QFont dialogFont()
{
    QFont font(QString::fromLatin1(kDialogFace));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(kDialogPointSize);
    return font;
}

} // namespace

InfoWindow::InfoWindow() : dpi_(platform::logicalDpi(nullptr))
{
    setObjectName(
        QString::fromUtf8(kWindowName.data(), static_cast<qsizetype>(kWindowName.size())));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Info Zentaro 1.3"));
    setWindowIcon(platform::commonIcon());
    setFont(dialogFont());

    // No colours of its own: button face behind, button text on the labels.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, platform::toQColor(colours::kSystemButtonFace));
    palette.setColor(QPalette::WindowText, platform::toQColor(colours::kSystemButtonText));
    setPalette(palette);
    setAutoFillBackground(true);

    resize(roundToInt(twipsToPixels(kClientWidthTwips, dpi_)),
           roundToInt(twipsToPixels(kClientHeightTwips, dpi_)));

    // Created bottom first: a later sibling lies on top (Label3 covers the
    // row it shares with Label2).
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap::fromImage(platform::commonIconImage()));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setGeometry(toPixels(kImage1Box));

    addLabel("Label1", kLabel1Box, QString::fromUtf8(kLabel1Text));
    addLabel("Label2", kLabel2Box, QString::fromUtf8(kLabel2Text));
    addLabel("Label3", kLabel3Box, QString::fromUtf8(kLabel3Text));
    addLabel("Label4", kLabel4Box, QString::fromUtf8(kLabel4Text));
}

QLabel* InfoWindow::addLabel(const char* name, const TwipBox& box, const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true); // opaque, in the button face colour
    label->setGeometry(toPixels(box));
    return label;
}

QRect InfoWindow::toPixels(const TwipBox& box) const
{
    return platform::toQRect(snapToPixels(zentaro::toPixels(box, dpi_)));
}

} // namespace zentaro::shell
