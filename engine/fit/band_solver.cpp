#include "engine/fit/band_solver.h"

#include <Eigen/Core>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unsupported/Eigen/NonLinearOptimization>

#include "engine/fit/fit_settings.h"
#include "engine/fit/portable_maths.h"

namespace corvalen::fit {

namespace {

constexpr int kVariablesPerBand = 3;  // frequency, gain, Q
// Starting values are kept this far inside their range: at the very edge the mapping below is
// flat and the optimiser could not move them.
constexpr double kInside = 1e-3;

// The optimiser's variables are unbounded; each maps onto its range through a sine, so every
// value it tries lies within the range (frequency and Q on a logarithmic scale).
double ToRange(double u, double low, double high) {
    return low + (high - low) * 0.5 * (PortableMaths::Sin(u) + 1.0);
}
double FromRange(double value, double low, double high) {
    const double t = std::clamp((value - low) / (high - low), kInside, 1.0 - kInside);
    return PortableMaths::Asin(2.0 * t - 1.0);
}

// The sum of band responses at every point, and the sum of their magnitudes: where bands work
// against each other the second exceeds the magnitude of the first.
struct BandSums {
    std::vector<double> sum;
    std::vector<double> magnitude;

    void Reset(const BandSums& from) {
        sum = from.sum;
        magnitude = from.magnitude;
    }
    void Add(const std::vector<double>& response) {
        for (std::size_t i = 0; i < sum.size(); ++i) {
            sum[i] += response[i];
            magnitude[i] += std::fabs(response[i]);
        }
    }
    // These sums with one band's response `before` replaced by `after`.
    void Replace(const BandSums& from, const double* before, const double* after) {
        for (std::size_t i = 0; i < sum.size(); ++i) {
            sum[i] = from.sum[i] - before[i] + after[i];
            magnitude[i] = from.magnitude[i] - std::fabs(before[i]) + std::fabs(after[i]);
        }
    }
};

// The residuals the optimiser sees: the weighted misses at every point that counts, the boost
// over the correction's limit, the bands working against each other, and the cost of every
// moving band's gain.
class BandResiduals {
public:
    BandResiduals(const FitCurve& curve, const std::array<FittedBand, kBandCount>& bands,
                  const std::vector<int>& moving)
        : curve_(curve), bands_(bands), moving_(moving) {
        const std::size_t n = static_cast<std::size_t>(curve.points);
        for (std::size_t i = 0; i < n; ++i) {
            if (curve.weight[i] > 0.0) {
                active_.push_back(i);
                rootWeight_.push_back(std::sqrt(curve.weight[i]));
            }
        }
        held_.sum.assign(n, 0.0);
        held_.magnitude.assign(n, 0.0);
        std::vector<double> one(n, 0.0);
        for (std::size_t k = 0; k < bands.size(); ++k) {
            const bool moves =
                std::find(moving.begin(), moving.end(), static_cast<int>(k)) != moving.end();
            if (moves || !bands[k].on) continue;
            BandResponse(curve, bands[k], one.data());
            held_.Add(one);
            if (bands[k].type == kPeak)
                heldPeaks_.push_back(PortableMaths::Log(bands[k].frequencyHz));
        }
        responses_.assign(moving.size(), std::vector<double>(n, 0.0));
        total_ = held_;
        trial_ = held_;
        perturbed_.assign(n, 0.0);
        gains_.assign(moving.size(), 0.0);
        logHz_.assign(moving.size(), 0.0);
        base_.resize(values());
        shifted_.resize(values());
    }

    int inputs() const { return kVariablesPerBand * static_cast<int>(moving_.size()); }
    int values() const { return static_cast<int>(active_.size() + 3 + moving_.size()); }

    Eigen::VectorXd Start() const {
        Eigen::VectorXd x(inputs());
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            const FittedBand& band = bands_[static_cast<std::size_t>(moving_[m])];
            const BandRange range = RangeOf(band.type);
            const Eigen::Index at = static_cast<Eigen::Index>(kVariablesPerBand * m);
            x[at] = FromRange(PortableMaths::Log(band.frequencyHz), PortableMaths::Log(range.lowHz),
                              PortableMaths::Log(range.highHz));
            x[at + 1] = FromRange(band.gainDb, range.lowGainDb, range.highGainDb);
            x[at + 2] = FromRange(PortableMaths::Log(band.q), PortableMaths::Log(range.lowQ),
                                  PortableMaths::Log(range.highQ));
        }
        return x;
    }

    FittedBand BandAt(const Eigen::VectorXd& x, std::size_t m) const {
        FittedBand band = bands_[static_cast<std::size_t>(moving_[m])];
        const BandRange range = RangeOf(band.type);
        const Eigen::Index at = static_cast<Eigen::Index>(kVariablesPerBand * m);
        band.frequencyHz = PortableMaths::Exp(
            ToRange(x[at], PortableMaths::Log(range.lowHz), PortableMaths::Log(range.highHz)));
        band.gainDb = ToRange(x[at + 1], range.lowGainDb, range.highGainDb);
        band.q = PortableMaths::Exp(
            ToRange(x[at + 2], PortableMaths::Log(range.lowQ), PortableMaths::Log(range.highQ)));
        return band;
    }

    int operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) {
        Evaluate(x);
        Fill(total_, x, residuals.data());
        return 0;
    }

    // Forward differences, one band at a time: a variable moves only its own band's response.
    int df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) {
        Evaluate(x);
        Fill(total_, x, base_.data());
        Eigen::VectorXd moved = x;
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            for (int v = 0; v < kVariablesPerBand; ++v) {
                const Eigen::Index column = static_cast<Eigen::Index>(kVariablesPerBand * m) + v;
                moved[column] = x[column] + kDifferenceStep;
                BandResponse(curve_, BandAt(moved, m), perturbed_.data());
                trial_.Replace(total_, responses_[m].data(), perturbed_.data());
                Fill(trial_, moved, shifted_.data());
                const double step = moved[column] - x[column];
                for (Eigen::Index row = 0; row < jacobian.rows(); ++row) {
                    jacobian(row, column) = (shifted_[row] - base_[row]) / step;
                }
                moved[column] = x[column];
            }
        }
        return 0;
    }

    // The squared norm of the residuals for the bands as given (not through the variables).
    double Cost() {
        total_.Reset(held_);
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            const FittedBand& band = bands_[static_cast<std::size_t>(moving_[m])];
            BandResponse(curve_, band, perturbed_.data());
            total_.Add(perturbed_);
            gains_[m] = band.gainDb;
            logHz_[m] = PortableMaths::Log(band.frequencyHz);
        }
        evaluated_ = false;
        FillRows(total_, base_.data());
        return base_.squaredNorm();
    }

    void Write(const Eigen::VectorXd& x, std::array<FittedBand, kBandCount>& bands) const {
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            bands[static_cast<std::size_t>(moving_[m])] = BandAt(x, m);
        }
    }

private:
    // The responses at x; the optimiser asks for the Jacobian where it last evaluated, so that
    // evaluation is kept.
    void Evaluate(const Eigen::VectorXd& x) {
        if (evaluated_ && x == evaluatedAt_) return;
        total_.Reset(held_);
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            BandResponse(curve_, BandAt(x, m), responses_[m].data());
            total_.Add(responses_[m]);
        }
        evaluatedAt_ = x;
        evaluated_ = true;
    }

    void Fill(const BandSums& sums, const Eigen::VectorXd& x, double* residuals) {
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            const Eigen::Index at = static_cast<Eigen::Index>(kVariablesPerBand * m) + 1;
            const BandRange range = RangeOf(bands_[static_cast<std::size_t>(moving_[m])].type);
            gains_[m] = ToRange(x[at], range.lowGainDb, range.highGainDb);
            logHz_[m] = ToRange(x[at - 1], PortableMaths::Log(range.lowHz),
                                PortableMaths::Log(range.highHz));
        }
        FillRows(sums, residuals);
    }

    void FillRows(const BandSums& sums, double* residuals) const {
        std::size_t row = 0;
        for (std::size_t a = 0; a < active_.size(); ++a) {
            const std::size_t i = active_[a];
            residuals[row++] = rootWeight_[a] * (sums.sum[i] - curve_.goal[i]);
        }
        // Both penalties are the root of a weighted sum of squares (one row each): small
        // excesses and small overlaps cost next to nothing, large ones a lot.
        double excess = 0.0;
        double against = 0.0;
        for (std::size_t i = 0; i < sums.sum.size(); ++i) {
            const double over = sums.sum[i] - kMaxCorrectionBoostDb;
            if (over > 0.0) excess += curve_.limitWeight[i] * over * over;
            const double wasted =
                sums.magnitude[i] - std::fabs(sums.sum[i]) - kOpposedBandsAllowanceDb;
            if (wasted > 0.0) against += curve_.limitWeight[i] * wasted * wasted;
        }
        residuals[row++] = std::sqrt(kBoostLimitWeight * excess);
        residuals[row++] = std::sqrt(kOpposedBandsWeight * against);
        residuals[row++] = std::sqrt(kStackedPeaksWeight * Stacking());
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            residuals[row++] = std::sqrt(kGainCost) * gains_[m];
        }
    }

    // How far pairs of peaks overlap in centre frequency: for each pair closer than
    // kStackedOctaves, the squared share of that distance they are inside it.
    double Stacking() const {
        const double closest = kStackedOctaves * PortableMaths::Log(2.0);
        double sum = 0.0;
        const auto add = [&sum, closest](double a, double b) {
            const double inside = 1.0 - std::fabs(a - b) / closest;
            if (inside > 0.0) sum += inside * inside;
        };
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            if (bands_[static_cast<std::size_t>(moving_[m])].type != kPeak) continue;
            for (std::size_t other = m + 1; other < moving_.size(); ++other) {
                if (bands_[static_cast<std::size_t>(moving_[other])].type != kPeak) continue;
                add(logHz_[m], logHz_[other]);
            }
            for (double held : heldPeaks_) add(logHz_[m], held);
        }
        return sum;
    }

    const FitCurve& curve_;
    std::array<FittedBand, kBandCount> bands_;
    std::vector<int> moving_;
    std::vector<std::size_t> active_;
    std::vector<double> rootWeight_;
    BandSums held_;                               // the bands that stay
    std::vector<std::vector<double>> responses_;  // each moving band's, at the last evaluation
    BandSums total_;                              // all bands at the last evaluation
    BandSums trial_;
    std::vector<double> perturbed_;
    std::vector<double> gains_;      // the moving bands' gains where the rows are filled
    std::vector<double> logHz_;      // and their frequencies' logarithms
    std::vector<double> heldPeaks_;  // the logarithms of the held peaks' frequencies
    Eigen::VectorXd evaluatedAt_;
    bool evaluated_ = false;
    Eigen::VectorXd base_;
    Eigen::VectorXd shifted_;
};

}  // namespace

BandRange RangeOf(BandType type) {
    switch (type) {
        case kLowShelf:
            return {kMinLowShelfHz,  kMaxLowShelfHz, kMaxBandCutDb,
                    kMaxBandBoostDb, kMinShelfQ,     kMaxShelfQ};
        case kHighShelf:
            return {kMinHighShelfHz, kMaxHighShelfHz, kMaxBandCutDb,
                    kMaxBandBoostDb, kMinShelfQ,      kMaxShelfQ};
        default:
            return {kMinPeakHz, kMaxPeakHz, kMaxBandCutDb, kMaxBandBoostDb, kMinPeakQ, kMaxPeakQ};
    }
}

double FitCost(const FitCurve& curve, const std::array<FittedBand, kBandCount>& bands) {
    std::vector<int> moving;
    for (int k = 0; k < kBandCount; ++k) {
        if (bands[static_cast<std::size_t>(k)].on) moving.push_back(k);
    }
    BandResiduals residuals(curve, bands, moving);
    return residuals.Cost();
}

int RefineBands(const FitCurve& curve, std::array<FittedBand, kBandCount>& bands,
                const std::vector<int>& moving, int evaluations, double tolerance) {
    if (moving.empty() || !curve.usable || evaluations <= 0) return 0;
    BandResiduals residuals(curve, bands, moving);
    Eigen::VectorXd x = residuals.Start();
    Eigen::LevenbergMarquardt<BandResiduals> solver(residuals);
    solver.parameters.maxfev = evaluations;
    solver.parameters.ftol = tolerance;
    solver.parameters.xtol = tolerance;
    solver.minimize(x);
    if (x.allFinite()) residuals.Write(x, bands);
    return static_cast<int>(solver.nfev);
}

}  // namespace corvalen::fit
