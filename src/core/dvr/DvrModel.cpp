#include "core/dvr/DvrModel.h"

namespace {

// Sensor and output counts follow the buttons the setup pages leave enabled
// for each model; audio inputs follow the record set page's audio buttons.
constexpr DvrModelInfo kModels[] = {
    {1, "MODEL_A", "MDLA", 4, 4, 2, 2, true},
    {2, "MODEL_B", "MDLB", 8, 8, 8, 8, false},
    {3, "MODEL_C", "MDLC", 16, 8, 8, 8, false},
    {4, "MODEL_D", "MDLD", 16, 8, 8, 8, false},
    {5, "MODEL_E", "MDLE", 4, 8, 8, 1, true},
    {6, "MODEL_F", "MDLF", 4, 4, 4, 4, false},
};

} // namespace

std::span<const DvrModelInfo> DvrModels()
{
    return kModels;
}

const DvrModelInfo* FindDvrModel(int typeCode)
{
    if (typeCode < kDvrTypeFirst || typeCode > kDvrTypeLast)
        return nullptr;
    return &kModels[typeCode - 1];
}
