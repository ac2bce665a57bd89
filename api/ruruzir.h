/* Ruruzir moisture conversions as a C library: ruruzir.dll on Windows, libruruzir.so elsewhere.
 *
 * One conversion is one call with everything it needs as arguments: the library keeps no state,
 * and any number of threads may call it at once. A conversion gives the text the calculator's
 * result box shows for the same input, and that text's value as a number.
 *
 * Units are given by their codes (the rows of the calculator's unit lists): moisture units
 * 0..10, pressure units 0..4. ruruzir_unit_name and ruruzir_unit_caption name them, and
 * ruruzir_unit_code finds them by name. ruruzir_convert_array converts many values in one call.
 * Texts are Windows-1252 (the degree sign is byte 0xB0). */
#ifndef RURUZIR_H
#define RURUZIR_H

#include <stddef.h>

#if defined(RURUZIR_STATIC)
#define RURUZIR_API
#elif defined(_WIN32)
#if defined(RURUZIR_BUILDING_LIBRARY)
#define RURUZIR_API __declspec(dllexport)
#else
#define RURUZIR_API __declspec(dllimport)
#endif
#else
#define RURUZIR_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The room a result text or a caption may need, the terminator included. */
#define RURUZIR_TEXT_SIZE 100

/* What a conversion returns; ruruzir_status_text says it in words. Earlier builds gave one
 * status, 2 (RURUZIR_BAD_ARGUMENT), for every refusal; 2 now means an unknown code only. */
enum ruruzir_status {
  RURUZIR_CONVERTED = 0,      /* the text holds the result */
  RURUZIR_OUT_OF_RANGE = 1,   /* no answer: a source value outside its unit's range (the text holds
                                 the calculator's message, e.g. "stay between 0 and 138670 ppm"),
                                 or no result ("out of range") */
  RURUZIR_BAD_CODE = 2,       /* an unknown unit, pressure unit, formulation, enhancement factor,
                                 density medium or precision code */
  RURUZIR_BAD_NUMBER = 3,     /* a number that is NaN or infinite, a side parameter beyond single
                                 precision, a molecular weight or Henry's constant that is not
                                 above 0, a temperature not above absolute zero (-273.15 degC), or
                                 a pressure at or below vacuum or beyond single precision (read in
                                 millibar rounded to hundredths, as the calculator reads it) */
  RURUZIR_TEXT_TOO_SMALL = 4, /* the text area cannot hold the whole text */
  RURUZIR_NO_AREA = 5         /* a pointer the call needs (text, values, results) is null */
};
#define RURUZIR_STATUS_COUNT 6

/* A short English reason for a status ("converted", "no answer: ..."), never null; unknown
 * statuses give "unknown status". */
RURUZIR_API const char* ruruzir_status_text(int status);

/* Moisture units. */
enum ruruzir_moisture_unit {
  RURUZIR_DEW_FROST_POINT_C = 0, /* dew point, frost point below 0 degC */
  RURUZIR_DEW_POINT_C = 1,       /* dew point over supercooled water */
  RURUZIR_DEW_FROST_POINT_F = 2,
  RURUZIR_DEW_POINT_F = 3,
  RURUZIR_PPMV = 4,          /* parts per million by volume, dry basis */
  RURUZIR_PPMW_GAS = 5,      /* by weight in a gas: molecular_weight */
  RURUZIR_LBS_PER_MMSCF = 6, /* lb water per million standard cubic feet of natural gas */
  RURUZIR_GRAMS_PER_M3 = 7,  /* density: prevailing_temperature_c and density_medium */
  RURUZIR_VAPOUR_PRESSURE_MBAR = 8,
  RURUZIR_RELATIVE_HUMIDITY = 9, /* percent: ambient_temperature_c */
  RURUZIR_PPMW_LIQUID = 10       /* dissolved in a liquid: henry_constant */
};

/* Pressure units. */
enum ruruzir_pressure_unit {
  RURUZIR_MBAR = 0,
  RURUZIR_PSIA = 1,
  RURUZIR_PSIG = 2,
  RURUZIR_ATM = 3,
  RURUZIR_KPA = 4
};

/* Saturation vapour pressure formulations and enhancement factors. */
enum ruruzir_formulation {
  RURUZIR_HYLAND_WEXLER = 0,
  RURUZIR_GOFF_GRATCH = 1,
  RURUZIR_SONNTAG = 2,
  RURUZIR_MAGNUS = 3
};
enum ruruzir_enhancement {
  RURUZIR_ENHANCEMENT_NONE = 0,
  RURUZIR_ENHANCEMENT_BOGEL = 1,
  RURUZIR_ENHANCEMENT_GREENSPAN = 2
};

/* What the water vapour density (g/m3) is the density of. */
enum ruruzir_density_medium {
  RURUZIR_MEDIUM_WATER_VAPOUR = 0, /* the moist gas itself */
  RURUZIR_MEDIUM_AIR = 1,
  RURUZIR_MEDIUM_NATURAL_GAS = 2
};

/* One side's parameters; each unit uses the one its comment above names. The calculator holds
 * them in single precision and so does a conversion. */
struct ruruzir_side {
  double ambient_temperature_c;    /* %RH: ambient (dry-bulb) temperature, degC; default 20 */
  double molecular_weight;         /* ppmW in a gas: g/mol of the gas, above 0; default 29 (air) */
  double henry_constant;           /* ppmW in a liquid: ppmW per mbar of water vapour pressure,
                                      above 0; default 1.9 (hexane) */
  double prevailing_temperature_c; /* g/m3: temperature of the gas, degC; default 20 */
  int density_medium;              /* g/m3: enum ruruzir_density_medium; default natural gas */
};

/* Fills `side` with the calculator's defaults (the values above). */
RURUZIR_API void ruruzir_default_side(struct ruruzir_side* side);

/* Converts `value` in moisture unit `source_unit` at a pressure of `source_pressure` (a reading
 * in pressure unit `source_pressure_unit`) to `target_unit` at `target_pressure` in
 * `target_pressure_unit`, with the formulation and enhancement factor given. A null side takes
 * the calculator's defaults. Pressures are read as the calculator reads them: in millibar,
 * rounded to hundredths.
 *
 * Writes the text into `text` (room for `text_size` bytes, the terminator included;
 * RURUZIR_TEXT_SIZE bytes always suffice) and never past it. `*result`, when `result` is not
 * null, receives the number the text shows, or NaN when the status is not RURUZIR_CONVERTED.
 * Returns an enum ruruzir_status; the text is empty (when it has room) for every status but
 * RURUZIR_CONVERTED and RURUZIR_OUT_OF_RANGE. */
RURUZIR_API int ruruzir_convert(double value, int source_unit, double source_pressure,
                                int source_pressure_unit, const struct ruruzir_side* source_side,
                                int target_unit, double target_pressure, int target_pressure_unit,
                                const struct ruruzir_side* target_side, int formulation,
                                int enhancement, double* result, char* text, size_t text_size);

/* Which number an array conversion gives. */
enum ruruzir_precision {
  RURUZIR_AS_SHOWN = 0,   /* the number the calculator's result text shows (ruruzir_convert's
                             result): decimals by unit and magnitude */
  RURUZIR_AS_COMPUTED = 1 /* the computed double before it is rounded for display; dew and frost
                             points are still the solver's tenths, as the calculator computes
                             them, and the ppmV between the two sides is still held in single
                             precision */
};

/* One side of an array conversion: its unit, its pressure for every element or one per element,
 * and its parameters, of which the two temperatures may also be given per element. */
struct ruruzir_array_side {
  int unit;                                /* enum ruruzir_moisture_unit */
  int pressure_unit;                       /* enum ruruzir_pressure_unit */
  double pressure;                         /* reading in pressure_unit when pressures is null */
  const double* pressures;                 /* null, or one reading in pressure_unit per element */
  struct ruruzir_side parameters;          /* ruruzir_default_side gives the calculator's */
  const double* ambient_temperatures_c;    /* null, or %RH's degC per element */
  const double* prevailing_temperatures_c; /* null, or g/m3's degC per element */
};

/* Converts `count` values of the source side's unit to the target side's, each element as
 * ruruzir_convert converts it, into `results[i]` (NaN for an element that did not convert) and,
 * when `statuses` is not null, its enum ruruzir_status into `statuses[i]`. The per-element
 * arrays hold `count` elements; `results` may be `values` itself. Nothing is allocated (a call
 * of 4096 elements or more uses 32 KB of the caller's stack) and nothing kept: any number of
 * threads may call at once.
 *
 * Returns RURUZIR_CONVERTED when the arguments shared by all elements are good, whatever the
 * elements' own statuses; otherwise the reason (a bad code, a bad number in the shared
 * parameters, a null array), and then every result is NaN and every status that reason. */
RURUZIR_API int ruruzir_convert_array(size_t count, const double* values,
                                      const struct ruruzir_array_side* source,
                                      const struct ruruzir_array_side* target, int formulation,
                                      int enhancement, int precision, double* results,
                                      int* statuses);

/* Unit kinds for the listing. */
enum ruruzir_unit_kind { RURUZIR_MOISTURE_UNITS = 0, RURUZIR_PRESSURE_UNITS = 1 };

/* The number of units of a kind (11 moisture, 5 pressure units; codes 0 to count - 1), or 0
 * for an unknown kind. */
RURUZIR_API int ruruzir_unit_count(int kind);

/* A unit's short name, as ruruzir-convert takes it ("frost-c", "ppmv", "mbar", "psig", ...),
 * or null when there is no such unit. */
RURUZIR_API const char* ruruzir_unit_name(int kind, int code);

/* Writes the unit's caption as the calculator's list shows it into `text` (room for
 * `text_size` bytes); returns RURUZIR_CONVERTED, RURUZIR_BAD_CODE for no such unit,
 * RURUZIR_TEXT_TOO_SMALL or RURUZIR_NO_AREA (the text is then empty when it has room). */
RURUZIR_API int ruruzir_unit_caption(int kind, int code, char* text, size_t text_size);

/* The code of the unit a name stands for, as ruruzir-convert takes it: the names of
 * ruruzir_unit_name and the converter's aliases ("ppm", "lb/mmscf", "g/m3", "%rh"), in any
 * case; -1 for no such unit or a null name. A bare "psi" is -1 too, as the converter refuses
 * it: it is read as absolute by some and as gauge by others (name "psia" or "psig"). */
RURUZIR_API int ruruzir_unit_code(int kind, const char* name);

/* The library's version, as ruruzir-convert --version shows it, e.g. "3.4". */
RURUZIR_API const char* ruruzir_version(void);

#ifdef __cplusplus
}
#endif

#endif /* RURUZIR_H */
