// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A root of a one-variable function near a guess: step away from the guess
// until the sign changes, then polish the bracket with TOMS 748. Used by the
// loop closures of the precise solve and by every event search, so it
// allocates nothing and never throws.

#include <boost/math/policies/policy.hpp>
#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

namespace kes::analysis_detail {

// Errors come back as NaN instead of exceptions; the caller checks.
using QuietPolicy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>>;

struct RootSearch {
    double Lo; // the function is only asked inside [Lo, Hi]
    double Hi;
    double FirstStep;    // the first probe away from the guess
    double Tolerance;    // final bracket width
    int MaxProbes = 60;  // steps spent looking for a sign change
    int MaxPolish = 100; // TOMS 748 iterations
};

inline bool SignsDiffer(double a, double b) {
    return (a < 0.0) != (b < 0.0);
}

// TOMS 748 on a bracket whose ends have opposite signs (or one is zero).
template <class F>
std::optional<double> PolishBracket(F& f, double a, double fa, double b, double fb, double tol,
                                    int maxIter) {
    if (fa == 0.0) return a;
    if (fb == 0.0) return b;
    if (a > b) {
        std::swap(a, b);
        std::swap(fa, fb);
    }
    std::uintmax_t iter = static_cast<std::uintmax_t>(maxIter);
    const auto done = [tol](double x, double y) { return std::fabs(y - x) <= tol; };
    const std::pair<double, double> r =
        boost::math::tools::toms748_solve(f, a, b, fa, fb, done, iter, QuietPolicy());
    const double x = 0.5 * (r.first + r.second);
    if (!std::isfinite(x)) return std::nullopt;
    return x;
}

// The search keeps the lowest and highest points probed; every probe lies
// outside them, so the first sign change met brackets the root nearest the
// guess on that side. Each new probe aims past the secant's estimate of the
// root, so a good guess is bracketed in two or three calls.
template <class F> std::optional<double> RootNear(F&& f, double guess, const RootSearch& s) {
    double x0 = std::clamp(guess, s.Lo, s.Hi);
    double f0 = f(x0);
    if (!std::isfinite(f0)) return std::nullopt;
    if (f0 == 0.0) return x0;
    double xl = x0, fl = f0, xh = x0, fh = f0;
    // The two most recent probes, for the secant.
    double xa = x0, fa = f0;
    double step = s.FirstStep;
    double target = x0 + step;
    for (int probe = 0; probe < s.MaxProbes; ++probe) {
        // Keep each probe outside what has been seen, and inside the range.
        if (target <= xh && target >= xl)
            target = (target - xl < xh - target) ? xl - step : xh + step;
        if (target > s.Hi) target = xh < s.Hi ? s.Hi : xl - step;
        if (target < s.Lo)
            target = xl > s.Lo ? s.Lo : (xh < s.Hi ? std::min(xh + step, s.Hi) : s.Lo);
        if (target < s.Lo || target > s.Hi || (target >= xl && target <= xh)) return std::nullopt;

        const double ft = f(target);
        if (!std::isfinite(ft)) return std::nullopt;
        if (target > xh) {
            if (SignsDiffer(fh, ft) || ft == 0.0)
                return PolishBracket(f, xh, fh, target, ft, s.Tolerance, s.MaxPolish);
            xh = target;
            fh = ft;
        } else {
            if (SignsDiffer(fl, ft) || ft == 0.0)
                return PolishBracket(f, target, ft, xl, fl, s.Tolerance, s.MaxPolish);
            xl = target;
            fl = ft;
        }
        // Aim a quarter beyond the secant's root, at least one step on.
        const double slope = (ft - fa) / (target - xa);
        double next;
        if (std::isfinite(slope) && slope != 0.0) {
            const double root = target - ft / slope;
            const double reach = root - target;
            const double dir = reach >= 0.0 ? 1.0 : -1.0;
            next = target + dir * std::max(1.25 * std::fabs(reach), step);
        } else {
            next = target + (target >= x0 ? step : -step);
        }
        xa = target;
        fa = ft;
        step *= 2.0;
        target = next;
    }
    return std::nullopt;
}

} // namespace kes::analysis_detail
