#pragma once

namespace vellumar {

// The reconstruction filters of the filtered stretch, by their fixed index.
enum class ResampleFilter { Box = 0, Triangle, Hermite, Bell, BSpline, Lanczos3, Mitchell };

// f(x) of the filter, in single precision as the weights are built from it.
float filterValue(ResampleFilter filter, float x);

// The support radius used when the caller asks for radius 0.
float defaultRadius(ResampleFilter filter);

} // namespace vellumar
