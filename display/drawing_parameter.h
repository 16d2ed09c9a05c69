#pragma once
// The page layout every plot shares: a zoom on the drawing area and the
// margins around the frame, in page units (0.1 mm).

namespace zentrova {

class CDrawingParameter {
 public:
  float fZoom = 1.0f;
  int nLeftMargin = 150;
  int nTopMargin = 150;
  int nRightMargin = 100;
  int nBottomMargin = 100;
};

}  // namespace zentrova
