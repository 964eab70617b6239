// The three outputs of a compiled map (classic fragment, HTML5 fragment, inline SVG) behind one
// interface, so that a map is written whole or one area at a time (the command line's compile of
// a large map file) with the same bytes.
#pragma once

#include "output/core/Fragment.h"

#include <memory>
#include <string>
#include <vector>

enum class TFragmentFormat { Classic, Html5, Svg };

struct TFragmentOutput {
    std::string Bytes;
    std::vector<std::string> Warnings;   // what was filled in or left out, to tell the user
    std::vector<THotspotRef> MissingAlt; // hotspots without an alt text, whose alt became their URL
};

class TFragmentWriter {
public:
    virtual ~TFragmentWriter() = default;
    // head: the map but for its area lists, which are not looked at; it must outlive Finish.
    // sizeHint: the expected size, reserved ahead. Throws std::invalid_argument for options the
    // format cannot hold.
    virtual void Begin(const TFragmentMap &head, std::size_t sizeHint) = 0;
    // The areas in map order: the rectangles, then the circles, then the polygons, each list in
    // its order.
    virtual void Add(THotspotKind kind, const TFragmentArea &area) = 0;
    virtual TFragmentOutput Finish() = 0;
};

std::unique_ptr<TFragmentWriter> MakeFragmentWriter(TFragmentFormat format);

// The whole map in one go.
TFragmentOutput WriteFragmentAs(TFragmentFormat format, const TFragmentMap &map);

// "rectangle 1, circle 3 and 5 more": hotspots by kind and number counted from 1, at most limit
// of them named.
std::string DescribeHotspots(const std::vector<THotspotRef> &hotspots, std::size_t limit = 10);

// Each format's writer, for MakeFragmentWriter.
std::unique_ptr<TFragmentWriter> MakeClassicWriter();
std::unique_ptr<TFragmentWriter> MakeHtml5Writer();
std::unique_ptr<TFragmentWriter> MakeSvgWriter();
