#pragma once

// Registers the report selection window with the shell, so that the frame's
// "&Print..." and the sheet's print button open it (dbStuff::WindowId::Print).
// Called once by the executable before start-up.
void RegisterReportWindows();
