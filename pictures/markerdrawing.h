#pragma once
// The entity markers over the map: one marker picture per entity, covering
// the cell its record names, as the map view's marker widgets show them.
#include "entityfile.h" // EntityRecord, EntityRecords

#include <QImage>
#include <QRect>
#include <functional>

class QPainter;

namespace vorn {

// The 16 x 16 marker picture (ARGB32, transparent background).
const QImage& MarkerPicture();

// Where marker `record` stands at `zoom`: its cell, ZoomSize pixels square.
// In int, not 16 bits: cell 512 at zoom 64 is 32768 pixels.
QRect MarkerRect(const EntityRecord& record, int zoom);

// The marker picture stretched to `rect`, every source pixel a solid block.
void PaintMarker(QPainter& painter, const QRect& rect);

// While sprites show, a marker over an entity drawn as its sprite is only a
// 1-pixel outline of its cell; the selected entity's in a second colour.
constexpr QRgb kOutline = 0xFF40FF40u;
constexpr QRgb kSelectedOutline = 0xFFFF40FFu;
void PaintMarkerOutline(QPainter& painter, const QRect& rect, QRgb colour);

// Draws the markers of records 0 to count - 1 over `target`, which holds
// `area` of the map at `zoom` in its top-left; the rest of each marker is
// cut off, as the map surface cuts off its marker widgets. Entities for
// which `outlined` is true get the outline instead of the picture.
void DrawMarkers(QImage& target, const QRect& area, int zoom, int count, const EntityRecords& records,
                 const std::function<bool(int index)>& outlined = {});

} // namespace vorn
