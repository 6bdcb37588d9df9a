#pragma once

// The user-interface thread's single-threaded COM apartment, entered when
// something first needs it instead of at start-up: ole32 and the apartment
// would cost every start, while only a shell dialog needs them. Both run on
// the user-interface thread only.

// Enters the apartment on its first call; later calls do nothing. False when
// COM cannot be had.
bool EnterComApartment();

// Leaves the apartment if it was entered; at the end of the program.
void LeaveComApartment();
