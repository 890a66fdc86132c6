// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every link of the gear as a workshop part: its pin centres in the link's
// own flat frame (x along its main line from the first pin, y square to it,
// right-handed), taken straight from the dimensions, and the centre
// distances, arm lengths and back-sets a drawing dimensions. Placing a link
// where the solver put it is a rotation and a shift of these centres, so an
// assembled picture keeps every link exactly its designed size.

#include "model/model.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kes {

struct LinkPin {
    std::string Name;
    double X = 0.0, Y = 0.0; // in the link's frame, design units
    int Point = 0;           // the point-table slot it sits on
};

enum class LinkDimensionKind {
    Centres, // straight centre-to-centre distance
    Along,   // measured along the link's main line (x)
    Square   // a back-set: measured square to the main line (y)
};

struct LinkDimension {
    int From = 0, To = 0; // pin indices
    double Value = 0.0;   // design units
    LinkDimensionKind Kind = LinkDimensionKind::Centres;
    std::string Dimension; // the dimension's name as the command line knows it
};

struct GearLink {
    std::string Id;   // "radius-bar", also the DXF layer
    std::string Name; // "Radius bar"
    std::vector<LinkPin> Pins;
    std::vector<LinkDimension> Dimensions;
};

// The links in the order a builder meets them from the reverse arm to the
// crosshead.
std::vector<GearLink> GearLinks(const Mechanism& m);

// The pin diameter drawn when the user gives none: the main window's pin
// circles (0.04 of the driver diameter).
double DefaultPinDiameter(const Mechanism& m);

struct Point2 {
    double X = 0.0, Y = 0.0;
};

// A rigid placement: world = origin + rotate(angle) * local.
struct LinkPlacement {
    Point2 Origin;
    double AngleRad = 0.0;
    Point2 Apply(const LinkPin& p) const;
};

// Where the solved mechanism puts the link: its first pin on its point, its
// second pin's direction toward that point. The mechanism must be solved.
LinkPlacement PlaceOnSolved(const GearLink& link, const Mechanism& solved);

// The closed outline a cutter follows around a link: the hull of circles of
// radius halfWidth about the pin centres, in the link's frame, as corner
// points with the DXF bulge (tan of a quarter of the arc's angle, positive
// anticlockwise) of the stretch from each corner to the next.
struct OutlineVertex {
    Point2 At;
    double Bulge = 0.0;
};
std::vector<OutlineVertex> LinkOutline(const GearLink& link, double halfWidth);

// The outline as points every few degrees along its arcs, for painting.
std::vector<Point2> SampleOutline(const std::vector<OutlineVertex>& outline, double stepDeg = 5.0);

} // namespace kes
