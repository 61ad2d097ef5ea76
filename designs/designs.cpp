#include "designs/designs.h"

#include <array>

namespace zentaro {

std::string DesignElement::displayName() const
{
    std::string text(name.view());
    if (hasIndex()) {
        text += '(' + std::to_string(index) + ')';
    }
    return text;
}

const DesignElement* ReticleDesign::find(std::string_view elementName, int elementIndex) const
{
    for (const DesignElement& element : elements) {
        if (element.is(elementName, elementIndex)) {
            return &element;
        }
    }
    return nullptr;
}

namespace designs {

std::span<const ReticleDesign* const> all()
{
    static const std::array<const ReticleDesign*, 8> kAll = {
        &standardRosso(),
        &standardBianco(),
        &standardRossoFine(),
        &croceRossa(),
        &croceRossaMicrometrica(),
        &campoCcd(),
        &punto(),
        &centratore(),
    };
    return kAll;
}

const ReticleDesign* findByWindowName(std::string_view windowName)
{
    for (const ReticleDesign* design : all()) {
        if (design->windowName == windowName) {
            return design;
        }
    }
    return nullptr;
}

} // namespace designs
} // namespace zentaro
