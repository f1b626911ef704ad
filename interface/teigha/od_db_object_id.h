// Identifier of a database object. Plot style editing has no database; pickers take the null id.
#pragma once

#include <cstdint>

class OdDbObjectId {
public:
    static const OdDbObjectId kNull;

    OdDbObjectId() = default;
    bool isNull() const { return handle_ == 0; }

private:
    std::uint64_t handle_ = 0;
};
