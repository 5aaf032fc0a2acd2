#pragma once

// Measuring rendered audio: a radix-2 FFT, the frequency of a peak to a small
// fraction of a bin, and sample-to-sample steps. Shared by the synthesizer tests and bench.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <vector>

namespace tv::test {

// In-place iterative FFT; the size must be a power of two.
inline void fft(std::vector<std::complex<double>>& data)
{
    const std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    // One table of exact twiddles for the largest stage; smaller stages take every m-th.
    std::vector<std::complex<double>> twiddle(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k)
        twiddle[k] = std::polar(1.0, -2 * std::numbers::pi * static_cast<double>(k) /
                                         static_cast<double>(n));
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const std::size_t stride = n / length;
        for (std::size_t start = 0; start < n; start += length) {
            for (std::size_t k = 0; k < length / 2; ++k) {
                const auto even = data[start + k];
                const auto odd = data[start + k + length / 2] * twiddle[k * stride];
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
            }
        }
    }
}

// Hann: narrow peaks for measuring frequency. Blackman-Harris (four terms): side lobes below
// -92 dB, for telling weak components from the skirts of strong ones.
enum class Window { Hann, BlackmanHarris };

// Magnitudes of the Fourier transform of `samples` under a window, zero-padded to `fftSize`
// (a power of two at least as long as the samples).
class FourierMagnitudes {
public:
    FourierMagnitudes(const std::vector<double>& samples, double sampleRate, std::size_t fftSize,
                      Window window = Window::Hann)
        : sampleRate_(sampleRate), size_(fftSize)
    {
        std::vector<std::complex<double>> data(fftSize);
        const std::size_t n = std::min(samples.size(), fftSize);
        for (std::size_t i = 0; i < n; ++i) {
            const double x =
                2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n - 1);
            const double weight = window == Window::Hann
                                      ? 0.5 - 0.5 * std::cos(x)
                                      : 0.35875 - 0.48829 * std::cos(x) +
                                            0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
            data[i] = samples[i] * weight;
        }
        fft(data);
        magnitude_.resize(fftSize / 2 + 1);
        for (std::size_t k = 0; k < magnitude_.size(); ++k)
            magnitude_[k] = std::abs(data[k]);
    }

    double binHz() const { return sampleRate_ / static_cast<double>(size_); }
    std::size_t bins() const { return magnitude_.size(); }
    double magnitude(std::size_t bin) const { return magnitude_[bin]; }

    // The bin with the largest magnitude between two frequencies.
    std::size_t peakBin(double lowHz, double highHz) const
    {
        const auto first = static_cast<std::size_t>(std::max(1.0, std::floor(lowHz / binHz())));
        const auto last =
            std::min(bins() - 2, static_cast<std::size_t>(std::ceil(highHz / binHz())));
        std::size_t best = first;
        for (std::size_t k = first; k <= last; ++k) {
            if (magnitude_[k] > magnitude_[best])
                best = k;
        }
        return best;
    }

    // The frequency of the strongest peak between two frequencies, between bins by fitting a
    // parabola to the logarithm of the magnitudes around it.
    double peakFrequency(double lowHz, double highHz) const
    {
        const std::size_t k = peakBin(lowHz, highHz);
        const double a = std::log(magnitude_[k - 1]);
        const double b = std::log(magnitude_[k]);
        const double c = std::log(magnitude_[k + 1]);
        const double offset = 0.5 * (a - c) / (a - 2 * b + c);
        return (static_cast<double>(k) + offset) * binHz();
    }

    // Largest magnitude between two frequencies.
    double peakMagnitude(double lowHz, double highHz) const
    {
        return magnitude_[peakBin(lowHz, highHz)];
    }

private:
    double sampleRate_;
    std::size_t size_;
    std::vector<double> magnitude_;
};

inline double centsBetween(double frequency, double reference)
{
    return 1200.0 * std::log2(frequency / reference);
}

// Largest absolute difference between neighbouring samples in [first, last).
inline double largestStep(const std::vector<double>& samples, std::size_t first, std::size_t last)
{
    double largest = 0;
    for (std::size_t i = std::max<std::size_t>(first, 1); i < std::min(last, samples.size()); ++i)
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    return largest;
}

}  // namespace tv::test
