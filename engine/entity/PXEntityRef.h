// The name of one entity type: the class its prototype is registered under and the type's own name.
#pragma once

#include <string>

struct PXEntityRef {
    std::string className;
    std::string typeName;

    // An empty reference names nothing.
    bool IsEmpty() const { return className.empty() || typeName.empty(); }
    bool operator==(const PXEntityRef& other) const
    {
        return className == other.className && typeName == other.typeName;
    }
};
