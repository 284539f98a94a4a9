#include "engine/fit/band_solver.h"

#include <Eigen/Core>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unsupported/Eigen/NonLinearOptimization>

#include "engine/fit/fit_settings.h"

namespace corvalen::fit {

namespace {

constexpr int kVariablesPerBand = 3;  // frequency, gain, Q
// Starting values are kept this far inside their range: at the very edge the mapping below is
// flat and the optimiser could not move them.
constexpr double kInside = 1e-3;

// The optimiser's variables are unbounded; each maps onto its range through a sine, so every
// value it tries lies within the range (frequency and Q on a logarithmic scale).
double ToRange(double u, double low, double high) {
    return low + (high - low) * 0.5 * (std::sin(u) + 1.0);
}
double FromRange(double value, double low, double high) {
    const double t = std::clamp((value - low) / (high - low), kInside, 1.0 - kInside);
    return std::asin(2.0 * t - 1.0);
}

// The residuals the optimiser sees: the weighted misses at every point that counts, the boost
// over the correction's limit, and the cost of every moving band's gain.
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
        held_.assign(n, 0.0);
        std::vector<double> one(n, 0.0);
        for (std::size_t k = 0; k < bands.size(); ++k) {
            if (std::find(moving.begin(), moving.end(), static_cast<int>(k)) != moving.end())
                continue;
            if (!bands[k].on) continue;
            BandResponse(curve, bands[k], one.data());
            for (std::size_t i = 0; i < n; ++i) held_[i] += one[i];
        }
        responses_.assign(moving.size() * n, 0.0);
        total_.assign(n, 0.0);
        trial_.assign(n, 0.0);
        perturbed_.assign(n, 0.0);
        gains_.assign(moving.size(), 0.0);
        base_.resize(values());
        shifted_.resize(values());
    }

    int inputs() const { return kVariablesPerBand * static_cast<int>(moving_.size()); }
    int values() const { return static_cast<int>(active_.size() + 1 + moving_.size()); }

    Eigen::VectorXd Start() const {
        Eigen::VectorXd x(inputs());
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            const FittedBand& band = bands_[static_cast<std::size_t>(moving_[m])];
            const BandRange range = RangeOf(band.type);
            const Eigen::Index at = static_cast<Eigen::Index>(kVariablesPerBand * m);
            x[at] = FromRange(std::log(band.frequencyHz), std::log(range.lowHz),
                              std::log(range.highHz));
            x[at + 1] = FromRange(band.gainDb, range.lowGainDb, range.highGainDb);
            x[at + 2] = FromRange(std::log(band.q), std::log(range.lowQ), std::log(range.highQ));
        }
        return x;
    }

    FittedBand BandAt(const Eigen::VectorXd& x, std::size_t m) const {
        FittedBand band = bands_[static_cast<std::size_t>(moving_[m])];
        const BandRange range = RangeOf(band.type);
        const Eigen::Index at = static_cast<Eigen::Index>(kVariablesPerBand * m);
        band.frequencyHz = std::exp(ToRange(x[at], std::log(range.lowHz), std::log(range.highHz)));
        band.gainDb = ToRange(x[at + 1], range.lowGainDb, range.highGainDb);
        band.q = std::exp(ToRange(x[at + 2], std::log(range.lowQ), std::log(range.highQ)));
        return band;
    }

    int operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) {
        Evaluate(x);
        Fill(total_, x, residuals.data());
        return 0;
    }

    // The squared norm of the residuals for the bands as given (not through the variables).
    double Cost() {
        const std::size_t n = static_cast<std::size_t>(curve_.points);
        total_ = held_;
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            BandResponse(curve_, bands_[static_cast<std::size_t>(moving_[m])], perturbed_.data());
            for (std::size_t i = 0; i < n; ++i) total_[i] += perturbed_[i];
        }
        std::vector<double> gains;
        for (int k : moving_) gains.push_back(bands_[static_cast<std::size_t>(k)].gainDb);
        FillRows(total_, gains.data(), base_.data());
        return base_.squaredNorm();
    }

    // Forward differences, one band at a time: a variable moves only its own band's response.
    int df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) {
        Evaluate(x);
        Fill(total_, x, base_.data());
        const std::size_t n = static_cast<std::size_t>(curve_.points);
        Eigen::VectorXd moved = x;
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            const double* own = &responses_[m * n];
            for (int v = 0; v < kVariablesPerBand; ++v) {
                const Eigen::Index column = static_cast<Eigen::Index>(kVariablesPerBand * m) + v;
                moved[column] = x[column] + kDifferenceStep;
                BandResponse(curve_, BandAt(moved, m), perturbed_.data());
                for (std::size_t i = 0; i < n; ++i) trial_[i] = total_[i] - own[i] + perturbed_[i];
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

    void Write(const Eigen::VectorXd& x, std::array<FittedBand, kBandCount>& bands) const {
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            bands[static_cast<std::size_t>(moving_[m])] = BandAt(x, m);
        }
    }

private:
    void Evaluate(const Eigen::VectorXd& x) {
        const std::size_t n = static_cast<std::size_t>(curve_.points);
        total_ = held_;
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            double* own = &responses_[m * n];
            BandResponse(curve_, BandAt(x, m), own);
            for (std::size_t i = 0; i < n; ++i) total_[i] += own[i];
        }
    }

    void Fill(const std::vector<double>& equaliser, const Eigen::VectorXd& x, double* residuals) {
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            const Eigen::Index at = static_cast<Eigen::Index>(kVariablesPerBand * m) + 1;
            const BandRange range = RangeOf(bands_[static_cast<std::size_t>(moving_[m])].type);
            gains_[m] = ToRange(x[at], range.lowGainDb, range.highGainDb);
        }
        FillRows(equaliser, gains_.data(), residuals);
    }

    void FillRows(const std::vector<double>& equaliser, const double* gains,
                  double* residuals) const {
        std::size_t row = 0;
        for (std::size_t a = 0; a < active_.size(); ++a) {
            const std::size_t i = active_[a];
            residuals[row++] = rootWeight_[a] * (equaliser[i] - curve_.goal[i]);
        }
        double excess = 0.0;
        for (std::size_t i = 0; i < equaliser.size(); ++i) {
            const double over = equaliser[i] - kMaxCorrectionBoostDb;
            if (over > 0.0) excess += curve_.limitWeight[i] * over * over;
        }
        residuals[row++] = std::sqrt(kBoostLimitWeight * excess);
        for (std::size_t m = 0; m < moving_.size(); ++m) {
            residuals[row++] = std::sqrt(kGainCost) * gains[m];
        }
    }

    const FitCurve& curve_;
    std::array<FittedBand, kBandCount> bands_;
    std::vector<int> moving_;
    std::vector<std::size_t> active_;
    std::vector<double> rootWeight_;
    std::vector<double> held_;       // the bands that stay, summed
    std::vector<double> responses_;  // each moving band's response at the last evaluation
    std::vector<double> total_;      // all bands at the last evaluation
    std::vector<double> trial_;
    std::vector<double> perturbed_;
    std::vector<double> gains_;
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

void RefineBands(const FitCurve& curve, std::array<FittedBand, kBandCount>& bands,
                 const std::vector<int>& moving, int evaluations) {
    if (moving.empty() || !curve.usable) return;
    BandResiduals residuals(curve, bands, moving);
    Eigen::VectorXd x = residuals.Start();
    Eigen::LevenbergMarquardt<BandResiduals> solver(residuals);
    solver.parameters.maxfev = evaluations;
    solver.minimize(x);
    if (x.allFinite()) residuals.Write(x, bands);
}

}  // namespace corvalen::fit
