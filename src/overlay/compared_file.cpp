// SPDX-License-Identifier: GPL-3.0-or-later
#include "overlay/compared_file.h"

#include "files/dimension_file.h"

namespace overlay {

LoadedDesign LoadComparedDesign(const std::string& path) {
    auto design = std::make_unique<kes::Model>();
    kes::InitialiseModel(*design);
    const kes::FileResult result = kes::LoadDimensionsByExtension(*design, path);
    if (!result.Ok) return {nullptr, result.Message};
    return {std::move(design), {}};
}

} // namespace overlay
