#pragma once
// The fixed-function call both desktop backends make the same way: the camera.

void GLSetFrustum(double left, double right, double bottom, double top, double zNear, double zFar);
