// The Windows family the program runs on, as the version query reports it.
#pragma once

enum class SystemFamily { Win9x, NT, Other };

// Queries the version. False when the query failed; the thread's last error code then says why.
bool QuerySystemFamily(SystemFamily& family);
