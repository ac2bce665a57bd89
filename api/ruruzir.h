/* Ruruzir moisture conversions as a C library: ruruzir.dll on Windows, libruruzir.so elsewhere.
 *
 * One conversion is one call with everything it needs as arguments: the library keeps no state,
 * and any number of threads may call it at once. A conversion gives the text the calculator's
 * result box shows for the same input, and that text's value as a number.
 *
 * Units are given by their codes (the rows of the calculator's unit lists): moisture units
 * 0..10, pressure units 0..4. ruruzir_unit_name and ruruzir_unit_caption name them.
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

/* What a conversion returns. */
enum ruruzir_status {
  RURUZIR_CONVERTED = 0,    /* the text holds the result */
  RURUZIR_OUT_OF_RANGE = 1, /* a source value outside its unit's range (the text holds the
                               calculator's message, e.g. "stay between 0 and 138670 ppm"),
                               or no result ("out of range") */
  RURUZIR_BAD_ARGUMENT = 2  /* an unknown code, a NaN or infinite number, no text area or one
                               too small for the text; the text is empty when it has room */
};

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
  double ambient_temperature_c;    /* %RH; calculator default 20 */
  double molecular_weight;         /* ppmW in a gas; default 29 (air) */
  double henry_constant;           /* ppmW in a liquid, ppmW per mbar; default 1.9 (hexane) */
  double prevailing_temperature_c; /* g/m3; default 20 */
  int density_medium;              /* enum ruruzir_density_medium; default natural gas */
};

/* Converts `value` in moisture unit `source_unit` at a pressure of `source_pressure` (a reading
 * in pressure unit `source_pressure_unit`) to `target_unit` at `target_pressure` in
 * `target_pressure_unit`, with the formulation and enhancement factor given. A null side takes
 * the calculator's defaults. Pressures are read as the calculator reads them: in millibar,
 * rounded to hundredths.
 *
 * Writes the text into `text` (room for `text_size` bytes, the terminator included; 100 bytes
 * always suffice) and never past it. `*result`, when `result` is not null, receives the number
 * the text shows, or NaN when the status is not RURUZIR_CONVERTED. Returns an enum
 * ruruzir_status. */
RURUZIR_API int ruruzir_convert(double value, int source_unit, double source_pressure,
                                int source_pressure_unit, const struct ruruzir_side* source_side,
                                int target_unit, double target_pressure, int target_pressure_unit,
                                const struct ruruzir_side* target_side, int formulation,
                                int enhancement, double* result, char* text, size_t text_size);

/* Unit kinds for the listing. */
enum ruruzir_unit_kind { RURUZIR_MOISTURE_UNITS = 0, RURUZIR_PRESSURE_UNITS = 1 };

/* The number of units of a kind (11 moisture, 5 pressure units; codes 0 to count - 1), or 0
 * for an unknown kind. */
RURUZIR_API int ruruzir_unit_count(int kind);

/* A unit's short name, as ruruzir-convert takes it ("frost-c", "ppmv", "mbar", "psig", ...),
 * or null when there is no such unit. */
RURUZIR_API const char* ruruzir_unit_name(int kind, int code);

/* Writes the unit's caption as the calculator's list shows it into `text` (room for
 * `text_size` bytes); returns RURUZIR_CONVERTED, or RURUZIR_BAD_ARGUMENT for no such unit or
 * no room (the text is then empty when it has room for that). */
RURUZIR_API int ruruzir_unit_caption(int kind, int code, char* text, size_t text_size);

/* The library's version, as ruruzir-convert --version shows it, e.g. "3.4". */
RURUZIR_API const char* ruruzir_version(void);

#ifdef __cplusplus
}
#endif

#endif /* RURUZIR_H */
