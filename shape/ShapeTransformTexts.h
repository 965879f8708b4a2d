#pragma once

#include <string>
#include <vector>

// Texts of the shapefile transformation and of the units dialog, in Windows-1250.
namespace shapetransformtexts {

const std::string& ProgressTransform();  // caption of the progress window

const std::string& UnitsCaption();
const std::string& PlanarGroupCaption();
const std::string& AngularGroupCaption();
// The items of the two groups, in the order of their indexes.
const std::vector<std::string>& PlanarUnitItems();
const std::vector<std::string>& AngularFormatItems();
const std::string& OkCaption();
const std::string& CancelCaption();

}  // namespace shapetransformtexts
