// A drawing object owned by one scope: delete_object at its end.
#pragma once

#include <memory>

#include "platform/gdi/gdi.h"

namespace klv::gdi {

struct ObjectDeleter {
    void operator()(Object* object) const { delete_object(object); }
};

template <class T>
using OwnedObject = std::unique_ptr<T, ObjectDeleter>;

}  // namespace klv::gdi
