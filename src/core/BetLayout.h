#pragma once

// How the bet and ticket records lie in their text forms and in the words they are packed into: one
// field table per record. Included by BetRecords.h, so that the functions a heavy day calls for every one
// of its tens of thousands of bets are inlined where they are called.
#include "BetRecords.h"
#include "Numbers.h"

#include <array>
#include <tuple>
#include <type_traits>
#include <utility>

namespace BetLayout {

constexpr qint32 pow10(int n) {
    qint32 p = 1;
    while (n-- > 0) {
        p *= 10;
    }
    return p;
}

constexpr int bitsFor(qint32 max) {
    int bits = 0;
    while ((qint64(1) << bits) <= max) {
        ++bits;
    }
    return bits;
}

// One field of a text form: a member of the record and its width in digits. The largest value the
// digits hold bounds the field: a value outside 0..Max would shift every later field of the line, so it
// is clamped into the field instead.
template <auto Member, int Width>
struct Digits {
    static constexpr int width = Width;
    static constexpr qint32 max = pow10(Width) - 1;
    template <class Record>
    static qint32 get(const Record& r) {
        return r.*Member;
    }
    // A value already within the field.
    template <class Record>
    static void store(Record& r, qint32 value) {
        r.*Member = static_cast<std::remove_reference_t<decltype(r.*Member)>>(value);
    }
    // Any value; a 16-bit member takes it clamped into its range.
    template <class Record>
    static void set(Record& r, qint32 value) {
        if constexpr (std::is_same_v<std::remove_reference_t<decltype(r.*Member)>, qint16>) {
            r.*Member = Num::clampToInt16(value);
        } else {
            r.*Member = value;
        }
    }
};

// One of the eighteen runner slots of a ticket line.
template <std::size_t Slot>
struct SlotDigits {
    static constexpr int width = 2;
    static constexpr qint32 max = 99;
    static qint32 get(const TicketLine& r) { return r.partnerSlots[Slot]; }
    static void store(TicketLine& r, qint32 value) { r.partnerSlots[Slot] = static_cast<qint16>(value); }
    static void set(TicketLine& r, qint32 value) { r.partnerSlots[Slot] = Num::clampToInt16(value); }
};

constexpr qint32 clamped(qint32 value, qint32 max) {
    return value < 0 ? 0 : (value > max ? max : value);
}

// "00" to "99", for writing digits two at a time (reports write lines by the ten thousand).
inline constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// A value that fits the field, as exactly Width zero-padded digits.
template <int Width>
void putDigits(char* out, quint32 v) {
    if constexpr (Width >= 2) {
        putDigits<Width - 2>(out, v / 100);
        const std::size_t pair = 2 * (v % 100);
        out[Width - 2] = kDigitPairs[pair];
        out[Width - 1] = kDigitPairs[pair + 1];
    } else if constexpr (Width == 1) {
        out[0] = static_cast<char>('0' + v);
    }
}

// Where a fitted field lies in a sort key: fields fill 64-bit words in text order, the first field in the
// highest bits, so comparing the words in turn orders records as their texts would (digit texts of one
// width order like the numbers they spell).
struct KeyPlace {
    int word;
    int shift;
};

template <std::size_t N>
constexpr std::array<KeyPlace, N> keyPlaces(const std::array<int, N>& bits) {
    std::array<KeyPlace, N> places{};
    int word = 0;
    int used = 0;
    for (std::size_t k = 0; k < N; ++k) {
        if (used + bits[k] > 64) {
            ++word;
            used = 0;
        }
        places[k].word = word;
        used += bits[k];
    }
    for (std::size_t k = 0; k < N; ++k) {
        for (std::size_t j = k + 1; j < N; ++j) {
            if (places[j].word == places[k].word) {
                places[k].shift += bits[j];
            }
        }
    }
    return places;
}

// A text form: its fields in text order. Everything done with the text goes through this one list.
template <class Record, class... Fields>
struct Layout {
    static constexpr int length = (Fields::width + ...);
    static constexpr std::size_t count = sizeof...(Fields);
    static constexpr std::array<KeyPlace, count> places = keyPlaces<count>({bitsFor(Fields::max)...});
    static constexpr std::size_t keyWords = std::size_t(places[count - 1].word) + 1;
    using Key = std::array<quint64, keyWords>;

    template <class F>
    static void eachField(F&& f) {
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (f.template operator()<I, std::tuple_element_t<I, std::tuple<Fields...>>>(), ...);
        }
        (std::index_sequence_for<Fields...>{});
    }

    static char* write(const Record& r, char* out) {
        eachField([&]<std::size_t I, class F>() {
            putDigits<F::width>(out, static_cast<quint32>(clamped(F::get(r), F::max)));
            out += F::width;
        });
        return out;
    }

    // Each field by its position, with the lenient number conversion; a field past the end reads 0.
    static Record read(QStringView text) {
        Record r{};
        qsizetype pos = 0;
        eachField([&]<std::size_t I, class F>() {
            F::set(r, Num::toInt32(pos < text.size() ? text.mid(pos, F::width) : QStringView()));
            pos += F::width;
        });
        return r;
    }

    static Record fit(const Record& r) {
        Record fitted{};
        eachField([&]<std::size_t I, class F>() { F::store(fitted, clamped(F::get(r), F::max)); });
        return fitted;
    }

    static Key keyOf(const Record& r) {
        Key key{};
        eachField([&]<std::size_t I, class F>() {
            key[places[I].word] |= quint64(clamped(F::get(r), F::max)) << places[I].shift;
        });
        return key;
    }

    // One word of the key alone.
    template <int Word>
    static quint64 keyWord(const Record& r) {
        quint64 word = 0;
        eachField([&]<std::size_t I, class F>() {
            if constexpr (places[I].word == Word) {
                word |= quint64(clamped(F::get(r), F::max)) << places[I].shift;
            }
        });
        return word;
    }

    // The text of the fitted record a key was made from, without making the record.
    static char* writeKey(const Key& key, char* out) {
        eachField([&]<std::size_t I, class F>() {
            constexpr quint64 mask = (quint64(1) << bitsFor(F::max)) - 1;
            putDigits<F::width>(out, static_cast<quint32>((key[places[I].word] >> places[I].shift) & mask));
            out += F::width;
        });
        return out;
    }

    // The fitted record a key was made from.
    static Record fromKey(const Key& key) {
        Record r{};
        eachField([&]<std::size_t I, class F>() {
            constexpr quint64 mask = (quint64(1) << bitsFor(F::max)) - 1;
            F::store(r, static_cast<qint32>((key[places[I].word] >> places[I].shift) & mask));
        });
        return r;
    }
};

using LogLayout = Layout<BetLine, Digits<&BetLine::sale, 1>, Digits<&BetLine::venue, 2>, Digits<&BetLine::raceNum, 2>,
                         Digits<&BetLine::betType, 2>, Digits<&BetLine::num1, 2>, Digits<&BetLine::num2, 2>,
                         Digits<&BetLine::num3, 2>, Digits<&BetLine::buyDay, 1>, Digits<&BetLine::units, 4>,
                         Digits<&BetLine::payout, 8>, Digits<&BetLine::hit, 1>>;

// The ticket line's text order: the status comes early and the kind after the bet type; the slots close it.
template <std::size_t... S>
using OmitLayoutOf =
    Layout<TicketLine, Digits<&TicketLine::sale, 1>, Digits<&TicketLine::venue, 2>, Digits<&TicketLine::raceNum, 2>,
           Digits<&TicketLine::status, 2>, Digits<&TicketLine::betType, 2>, Digits<&TicketLine::kind, 1>,
           Digits<&TicketLine::num1, 2>, Digits<&TicketLine::num2, 2>, Digits<&TicketLine::num3, 2>,
           Digits<&TicketLine::buyDay, 1>, Digits<&TicketLine::units, 4>, Digits<&TicketLine::logNo, 4>,
           Digits<&TicketLine::reserved, 2>, SlotDigits<S>...>;
template <std::size_t... S>
OmitLayoutOf<S...> omitLayoutFor(std::index_sequence<S...>);
using OmitLayout = decltype(omitLayoutFor(std::make_index_sequence<18>{}));

static_assert(LogLayout::length == kLogTextLength);
// The bet fills the first key word exactly (sale to units), the evaluation (payout and hit flag) the second.
static_assert(LogLayout::keyWords == 2 && LogLayout::places[8].word == 0 && LogLayout::places[9].word == 1 &&
              LogLayout::places[9].shift + bitsFor(Digits<&BetLine::payout, 8>::max) <= 32);
static_assert(OmitLayout::length == kOmitTextLength);

} // namespace BetLayout

namespace BetRecords {

inline char* writeText(const BetLine& log, char* out) {
    return BetLayout::LogLayout::write(log, out);
}

inline char* writeText(quint64 bet, quint32 evaluation, char* out) {
    return BetLayout::LogLayout::writeKey({bet, evaluation}, out);
}

inline quint64 packBet(const BetLine& log) {
    return BetLayout::LogLayout::keyWord<0>(log);
}

inline quint64 packNumbers(qint16 num1, qint16 num2, qint16 num3) {
    using namespace BetLayout;
    using N1 = Digits<&BetLine::num1, 2>;
    // Fields 4 to 6 of the bet line's text order are the three numbers.
    constexpr KeyPlace p1 = LogLayout::places[4];
    constexpr KeyPlace p2 = LogLayout::places[5];
    constexpr KeyPlace p3 = LogLayout::places[6];
    static_assert(p1.word == 0 && p2.word == 0 && p3.word == 0);
    return (quint64(clamped(num1, N1::max)) << p1.shift) | (quint64(clamped(num2, N1::max)) << p2.shift) |
           (quint64(clamped(num3, N1::max)) << p3.shift);
}

inline quint32 packEvaluation(const BetLine& log) {
    return static_cast<quint32>(BetLayout::LogLayout::keyWord<1>(log));
}

namespace Detail {
// The bits of the packed bet from the venue (field 1) down to field `last` of the text order.
template <std::size_t Last>
quint64 venueTo(quint64 bet) {
    using namespace BetLayout;
    constexpr KeyPlace venue = LogLayout::places[1];
    constexpr KeyPlace last = LogLayout::places[Last];
    static_assert(venue.word == 0 && last.word == 0);
    constexpr int top = venue.shift + bitsFor(Digits<&BetLine::venue, 2>::max);
    return (bet >> last.shift) & ((quint64(1) << (top - last.shift)) - 1);
}
} // namespace Detail

inline quint64 combinationOf(quint64 bet) {
    return Detail::venueTo<6>(bet);
}

inline quint64 kindOf(quint64 bet) {
    return Detail::venueTo<3>(bet);
}

inline qint16 hitOf(quint32 evaluation) {
    using namespace BetLayout;
    constexpr KeyPlace hit = LogLayout::places[10];
    static_assert(hit.word == 1);
    return static_cast<qint16>((evaluation >> hit.shift) & ((1U << bitsFor(Digits<&BetLine::hit, 1>::max)) - 1));
}

inline BetLine unpack(quint64 bet, quint32 evaluation) {
    return BetLayout::LogLayout::fromKey({bet, evaluation});
}

} // namespace BetRecords
