// The information window: caption, icon, size, the labels' texts exactly as
// stored, their boxes, and that the dialog font keeps each text in its box.
#include "shell/info_window.h"

#include "platform/qt_bridge.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QtTest>

using zentaro::shell::InfoWindow;

class InfoWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void isAPlainTopLevelWindow();
    void labelTexts_data();
    void labelTexts();
    void label4KeepsItsSpacingAndAccents();
    void elementBoxes_data();
    void elementBoxes();
    void textsFitTheirBoxes();
    void showsTheCommonIconUnstretched();
    void usesTheSystemColours();
    void resizingMovesNothing();
    void deletesItselfOnClose();

private:
    QLabel* label(const char* name) const
    {
        return window_->findChild<QLabel*>(QString::fromLatin1(name));
    }

    QPointer<InfoWindow> window_;
};

void InfoWindowTest::init()
{
    window_ = new InfoWindow;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void InfoWindowTest::cleanup()
{
    delete window_.data();
}

void InfoWindowTest::isAPlainTopLevelWindow()
{
    QCOMPARE(window_->objectName(), QStringLiteral("Form9"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Info Zentaro 1.3"));
    QVERIFY(window_->isWindow());
    QVERIFY(window_->parentWidget() == nullptr);
    QCOMPARE(window_->size(), QSize(312, 213));
    QVERIFY(!window_->isModal());
    // A sizable frame with title bar, system menu and the three buttons.
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(!(flags & Qt::FramelessWindowHint));
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
}

void InfoWindowTest::labelTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("utf8");

    QTest::newRow("Label1") << "Label1" << QByteArray("ZENTARO 1.3");
    QTest::newRow("Label2") << "Label2" << QByteArray("Autore: Fosmaro Telvio");
    QTest::newRow("Label3") << "Label3" << QByteArray("Gruppo Astrofili Corvalena");
    // Spelled out in bytes so that the comparison does not depend on how
    // this file is read: \xC3\xA8 is "è".
    QTest::newRow("Label4") << "Label4"
                            << QByteArray("Il programma \xC3\xA8  libero,\xC3\xA8 stato fatto solo "
                                          "per aiutare gli astrofili nell'uso dell'autoguida "
                                          "manuale,e centrare i campi con stelle luminose.");
}

void InfoWindowTest::labelTexts()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, utf8);
    const QLabel* shown = label(qPrintable(name));
    QVERIFY(shown != nullptr);
    QCOMPARE(shown->text().toUtf8(), utf8);
    QCOMPARE(shown->textFormat(), Qt::PlainText);
    QCOMPARE(shown->alignment(), Qt::AlignLeft | Qt::AlignTop);
}

void InfoWindowTest::label4KeepsItsSpacingAndAccents()
{
    const QString text = label("Label4")->text();
    QCOMPARE(text.count(QChar(0x00E8)), 2);
    QCOMPARE(text.at(13), QChar(0x00E8));
    QCOMPARE(text.mid(14, 3), QStringLiteral("  l"));
    QVERIFY(text.contains(QStringLiteral("libero,") + QChar(0x00E8) + QLatin1Char(' ')));
    QVERIFY(text.contains(QStringLiteral("manuale,e ")));
    QVERIFY(!text.contains(QStringLiteral(", ")));
    QVERIFY(label("Label4")->wordWrap());
}

void InfoWindowTest::elementBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("box");

    // Columns and rows at 96 dpi, both ends included.
    QTest::newRow("Label4") << "Label4" << QRect(QPoint(8, 96), QPoint(296, 136));
    QTest::newRow("Label3") << "Label3" << QRect(QPoint(8, 64), QPoint(160, 80));
    QTest::newRow("Label2") << "Label2" << QRect(QPoint(8, 48), QPoint(128, 64));
    QTest::newRow("Label1") << "Label1" << QRect(QPoint(48, 8), QPoint(128, 24));
    QTest::newRow("Image1") << "Image1" << QRect(QPoint(8, 8), QPoint(39, 39));
}

void InfoWindowTest::elementBoxes()
{
    QFETCH(QString, name);
    QFETCH(QRect, box);
    const QLabel* element = label(qPrintable(name));
    QVERIFY(element != nullptr);
    QCOMPARE(element->geometry(), box);
}

void InfoWindowTest::textsFitTheirBoxes()
{
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        const QLabel* line = label(name);
        QVERIFY2(line->fontMetrics().horizontalAdvance(line->text()) <= line->width(), name);
        QVERIFY2(line->fontMetrics().height() <= line->height(), name);
    }
    // The sentence wraps to three lines within the 289 x 41 box.
    const QLabel* sentence = label("Label4");
    const QRect wrapped = sentence->fontMetrics().boundingRect(
        QRect(0, 0, sentence->width(), 1000), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
        sentence->text());
    QVERIFY2(wrapped.height() <= sentence->height(), qPrintable(QString::number(wrapped.height())));
    QCOMPARE(wrapped.height() / sentence->fontMetrics().lineSpacing(), 3);
    QVERIFY(wrapped.width() <= sentence->width());
    // Regular weight.
    QCOMPARE(sentence->font().weight(), QFont::Normal);
}

void InfoWindowTest::showsTheCommonIconUnstretched()
{
    const QLabel* image = label("Image1");
    const QImage expected = zentaro::platform::commonIconImage();
    QCOMPARE(image->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
             expected.convertToFormat(QImage::Format_RGB32));
    // Painted at its own size from the box's top-left: the crosshair's centre
    // at (8 + 15, 8 + 15), black around it.
    const QImage shown = window_->grab().toImage();
    QCOMPARE(QColor(shown.pixel(23, 23)), QColor(255, 0, 0));
    QCOMPARE(QColor(shown.pixel(9, 9)), QColor(0, 0, 0));
    QCOMPARE(QColor(shown.pixel(39, 39)), QColor(0, 0, 0));

    QVERIFY(!window_->windowIcon().isNull());
    QCOMPARE(window_->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32),
             expected.convertToFormat(QImage::Format_RGB32));
}

void InfoWindowTest::usesTheSystemColours()
{
    const QColor buttonFace = zentaro::platform::systemColour(15);
    const QColor buttonText = zentaro::platform::systemColour(18);
    const QImage shown = window_->grab().toImage();
    // Empty background, and the opaque background of a label.
    QCOMPARE(QColor(shown.pixel(200, 180)), buttonFace);
    QCOMPARE(QColor(shown.pixel(157, 79)), buttonFace);
    QCOMPARE(label("Label2")->palette().color(QPalette::WindowText), buttonText);
    QVERIFY(label("Label2")->autoFillBackground());
}

void InfoWindowTest::resizingMovesNothing()
{
    const QRect before = label("Label4")->geometry();
    window_->resize(600, 400);
    QTRY_COMPARE(window_->size(), QSize(600, 400));
    QCOMPARE(label("Label4")->geometry(), before);
    const QImage shown = window_->grab().toImage();
    QCOMPARE(QColor(shown.pixel(590, 390)), zentaro::platform::systemColour(15));
}

void InfoWindowTest::deletesItselfOnClose()
{
    QVERIFY(window_->close());
    QTRY_VERIFY(window_.isNull());
}

QTEST_MAIN(InfoWindowTest)
#include "info_window_test.moc"
