#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ShapeTestUtil.h"
#include "shape/Shape.h"

// Shapes built in memory for the drawing, identification and display tests.
namespace displaytest {

std::unique_ptr<TSHPRecord> Point(double x, double y);
std::unique_ptr<TSHPRecord> Line(const std::vector<std::vector<TShpPoint>>& parts);
std::unique_ptr<TSHPRecord> Null();

// A shape holding the records, its header rebuilt from them and its file name set (nothing is
// written).
std::unique_ptr<TShape> ShapeOf(std::vector<std::unique_ptr<TSHPRecord>> records,
                                const std::string& fileName = {});

// A dBase table named like `shapeFile` with ".dbf": character fields of the given names and
// length 20, and the rows.
void WriteTable(const std::string& shapeFile, const std::vector<std::string>& fields,
                const std::vector<std::vector<std::string>>& rows);

std::vector<std::string> Labels(const TShape& shape);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

}  // namespace displaytest
