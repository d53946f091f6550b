#include "resample_filter.h"

#include <cmath>
#include <numbers>

namespace vellumar {

namespace {

double sinc(double t) {
    if (t == 0) {
        return 1;
    }
    const double angle = std::numbers::pi * t;
    return std::sin(angle) / angle;
}

double evaluate(ResampleFilter filter, double x) {
    const double a = std::abs(x);
    switch (filter) {
    case ResampleFilter::Box:
        return x > -0.5 && x <= 0.5 ? 1 : 0;
    case ResampleFilter::Triangle:
        return a < 1 ? 1 - a : 0;
    case ResampleFilter::Hermite:
        return a < 1 ? (2 * a - 3) * a * a + 1 : 0;
    case ResampleFilter::Bell:
        if (a < 0.5) {
            return 0.75 - a * a;
        }
        return a < 1.5 ? 0.5 * (a - 1.5) * (a - 1.5) : 0;
    case ResampleFilter::BSpline:
        if (a < 1) {
            return (0.5 * a - 1) * a * a + 2.0 / 3;
        }
        return a < 2 ? (2 - a) * (2 - a) * (2 - a) / 6 : 0;
    case ResampleFilter::Lanczos3:
        return a < 3 ? sinc(a) * sinc(a / 3) : 0;
    case ResampleFilter::Mitchell:
        if (a < 1) {
            return (7 * a * a * a - 12 * a * a + 16.0 / 3) / 6;
        }
        return a < 2 ? (-(7.0 / 3) * a * a * a + 12 * a * a - 20 * a + 32.0 / 3) / 6 : 0;
    }
    return 0;
}

} // namespace

float filterValue(ResampleFilter filter, float x) {
    return static_cast<float>(evaluate(filter, x));
}

float defaultRadius(ResampleFilter filter) {
    switch (filter) {
    case ResampleFilter::Box:
        return 0.5f;
    case ResampleFilter::Bell:
        return 1.5f;
    case ResampleFilter::BSpline:
    case ResampleFilter::Mitchell:
        return 2.0f;
    case ResampleFilter::Lanczos3:
        return 3.0f;
    case ResampleFilter::Triangle:
    case ResampleFilter::Hermite:
        break;
    }
    return 1.0f;
}

} // namespace vellumar
