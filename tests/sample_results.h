// What the shipped sample table (samples/pts.dat) gives, for the tests that
// do the whole job on it.
#pragma once

// The results file, in Windows-1251, of its records 1, 3 and 5 picked in that
// order: Репер 1, Точка 3, Точка 5 and the side leaving each.
inline constexpr const char* kSampleResultsOf135 =
    "\xD0\xE5\xEF\xE5\xF0 1 6171234.56 2310456.78 51\xB0"
    "45'56.0\" 449.7\r\n"
    "\xD2\xEE\xF7\xEA\xE0 3 6171512.9 2310810.05 126\xB0"
    "40'21.4\" 389.2\r\n"
    "\xD2\xEE\xF7\xEA\xE0 5 6171280.47 2311122.19 266\xB0"
    "3'11.3\" 667.0\r\n";
