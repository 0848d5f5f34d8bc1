#include "quillui/framework/layout/layout_metrics.h"

namespace quill {

TLayoutMetrics::TLayoutMetrics() {
  X.MyEdge = X.OtherEdge = lmLeft;
  Y.MyEdge = Y.OtherEdge = lmTop;
  // Width and Height start on their sizes through their own constructors; all four slots are
  // as-is, relative to the layout window, value 0, in layout units.
}

void TLayoutMetrics::SetMeasurementUnits(TMeasurementUnits units) {
  X.Units = units;
  Y.Units = units;
  Width.Units = units;
  Height.Units = units;
}

}  // namespace quill
