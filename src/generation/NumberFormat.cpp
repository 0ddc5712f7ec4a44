#include "generation/NumberFormat.h"

#include "platform/Exception.h"

#include <array>
#include <charconv>
#include <utility>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::uint64_t kPow10Int[] = {1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL,
                                       1000000ULL, 10000000ULL, 100000000ULL, 1000000000ULL};

// Removes trailing zeros of a fraction and then a trailing point.
std::size_t TrimFraction(const char* text, std::size_t len) {
    if (std::memchr(text, '.', len) == nullptr) return len;
    while (len > 0 && text[len - 1] == '0') --len;
    if (len > 0 && text[len - 1] == '.') --len;
    return len;
}

// Writes n as a fixed number with D decimals (n counts units of the last decimal). The
// decimals are a template argument so that the divisions become multiplications.
template <unsigned D>
std::size_t WriteScaled(char* out, bool negative, std::uint64_t n) {
    char* p = out;
    if (negative) *p++ = '-';
    constexpr std::uint64_t scale = kPow10Int[D];
    p = std::to_chars(p, p + 24, n / scale).ptr;
    if constexpr (D > 0) {
        std::uint64_t frac = n % scale;
        if (frac != 0) {
            *p++ = '.';
            char digits[D];
            for (unsigned i = D; i-- > 0;) {
                digits[i] = char('0' + frac % 10);
                frac /= 10;
            }
            unsigned keep = D;
            while (digits[keep - 1] == '0') --keep;
            std::memcpy(p, digits, keep);
            p += keep;
        }
    }
    return std::size_t(p - out);
}

template <unsigned... D>
constexpr auto MakeWriters(std::integer_sequence<unsigned, D...>) {
    return std::array<std::size_t (*)(char*, bool, std::uint64_t), sizeof...(D)>{&WriteScaled<D>...};
}
constexpr auto kWriters = MakeWriters(std::make_integer_sequence<unsigned, 10>());

[[noreturn]] void ThrowNotFinite() {
    throw Exception("Eine Zahl ohne endlichen Wert (unendlich oder keine Zahl) kann nicht "
                    "geschrieben werden.");
}

}  // namespace

std::size_t FormatNumberExact(char* out, std::uint8_t d, double v) {
    if (v == 0) {
        out[0] = '0';
        return 1;
    }
    if (!std::isfinite(v)) ThrowNotFinite();
    const bool negative = v < 0;
    // The decimal expansion to 18 significant digits: "d.ddddddddddddddddde+XX".
    char sci[40];
    auto res = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific, 17);
    char digits[18];
    digits[0] = sci[0];
    std::memcpy(digits + 1, sci + 2, 17);
    int exponent = 0;
    const char* e = static_cast<const char*>(std::memchr(sci, 'e', std::size_t(res.ptr - sci)));
    std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exponent);

    // Digit k (0-based) has the place value 10^(exponent - k). Keep the digits down to the
    // place 10^-d; `kept` of them, which may be fewer than none or more than 18.
    const int kept = exponent + 1 + int(d);
    // Work on a digit string with room for a carry in front.
    char work[1 + 18];
    work[0] = '0';
    std::memcpy(work + 1, digits, 18);
    int firstPlace = exponent + 1;  // place value exponent of work[0]
    int count = 0;                  // digits of work taken into the result
    if (kept <= 0) {
        // Everything lies below the last decimal; the first digit decides.
        bool up = kept == 0 && digits[0] >= '5';
        work[0] = up ? '1' : '0';
        firstPlace = -int(d);
        count = 1;
    } else if (kept < 18) {
        count = 1 + kept;
        if (digits[kept] >= '5') {
            int i = count - 1;
            while (work[i] == '9') work[i--] = '0';
            ++work[i];
        }
    } else {
        count = 1 + 18;
    }
    // Lay the digits out in fixed notation: places firstPlace down to -d.
    char* p = out;
    if (negative) *p++ = '-';
    bool started = false;
    auto digitAt = [&](int place) -> char {
        int index = firstPlace - place;  // work[0] has place firstPlace
        return (index >= 0 && index < count) ? work[index] : '0';
    };
    const int top = firstPlace > 0 ? firstPlace : 0;
    for (int place = top; place >= 0; --place) {
        char c = digitAt(place);
        if (c != '0' || started || place == 0) {
            *p++ = c;
            started = true;
        }
    }
    if (d > 0) {
        *p++ = '.';
        for (int place = -1; place >= -int(d); --place) *p++ = digitAt(place);
    }
    return TrimFraction(out, std::size_t(p - out));
}

std::size_t FormatNumberTo(char* out, std::uint8_t d, double v) {
    if (v == 0) {
        out[0] = '0';
        return 1;
    }
    if (d <= 9) {
        const double a = std::fabs(v);
        const double s = a * kPow10[d];
        if (s < 1e15) {
            const double whole = std::floor(s);
            const double frac = s - whole;
            // The computed product and the 18-digit expansion both lie within this margin
            // of the exact value; outside it they round the same way.
            const double margin = s * 2.5e-16 + 1e-300;
            if (frac > 0.5 + margin || frac < 0.5 - margin) {
                const std::uint64_t n = std::uint64_t(whole) + (frac > 0.5 ? 1 : 0);
                return kWriters[d](out, v < 0, n);
            }
        }
    }
    return FormatNumberExact(out, d, v);
}

std::string FormatNumber(std::uint8_t d, double v) {
    char buf[kFormatNumberMax];
    return std::string(buf, FormatNumberTo(buf, d, v));
}

std::optional<std::int32_t> RoundToInt32(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    double r = std::nearbyint(v);
    if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
    return std::int32_t(r);
}

std::optional<std::int32_t> TruncToInt32(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    double t = std::trunc(v);
    if (t < -2147483648.0 || t > 2147483647.0) return std::nullopt;
    return std::int32_t(t);
}

std::optional<std::int64_t> TruncToInt64(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    double t = std::trunc(v);
    if (t < -9223372036854775808.0 || t >= 9223372036854775808.0) return std::nullopt;
    return std::int64_t(t);
}

std::optional<double> ReadWrittenNumber(std::string_view number) {
    bool negative = false;
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    if (number.empty()) return std::nullopt;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != number.data() + number.size()) return std::nullopt;
    return negative ? -v : v;
}

double WrittenValue(std::uint8_t d, double v) {
    char text[kFormatNumberMax];
    const std::size_t length = FormatNumberTo(text, d, v);
    // What FormatNumber writes always reads back.
    return ReadWrittenNumber(std::string_view(text, length)).value_or(v);
}

double DeepestWrittenDepth(double limit, std::uint8_t d) {
    const double written = WrittenValue(d, limit);
    if (written >= limit) return written;
    // One unit of the last decimal toward the surface, written and read back so that the
    // value is the word's own number.
    return WrittenValue(d, written + std::pow(10.0, -double(d)));
}
