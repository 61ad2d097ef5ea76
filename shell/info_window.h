// The information window `Form9`: the program's name and version, its
// author, the group behind it and what it is for. It has no behaviour of its
// own, and uses the system's standard colours and dialog font.
#pragma once

#include "designs/units.h"

#include <QWidget>

#include <string_view>

class QLabel;

namespace zentaro::shell {

class InfoWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr std::string_view kWindowName = "Form9";

    /// A parentless top-level, destroyed when the user closes it.
    InfoWindow();

private:
    QLabel* addLabel(const char* name, const TwipBox& box, const QString& text);
    QRect toPixels(const TwipBox& box) const;

    double dpi_;
};

} // namespace zentaro::shell
