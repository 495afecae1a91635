#pragma once
// The construction grid's pictures of a component file: every component that a pod
// can hold needs a frame of its footprint's icon sprite at its "iconFrame", and every
// hull but the first a frame of the hull pictures; a missing one would leave the grid
// without a picture.

#include <string>

class CDataCheckReport;
class CShipComponentDatabase;

void CheckConstructionIcons(CDataCheckReport& report, const std::string& file, const CShipComponentDatabase& database);
