// The text-fit check, run inside the program's own process: a font handle means nothing in
// another process, so kddriver loads this library into the program through a window hook and
// asks it to measure there.
#pragma once

// The message kddriver sends to the window to be measured; wParam is kddriver's process id,
// which names the report file in the temporary folder.
constexpr char FITS_MESSAGE[] = "KdDriverCheckFits";
constexpr char FITS_HOOK_EXPORT[] = "FitsHook";
constexpr char FITS_REPORT_FORMAT[] = "%skdfits-%lu.txt";
