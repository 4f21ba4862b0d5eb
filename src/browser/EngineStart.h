#pragma once
// Starting the embedded engine: every engine file and folder lives in one
// folder beside the program, the renderer runs in this process, and the
// script bridge is in place before any page loads.

#include <QString>

class QWebEngineProfile;

namespace engine {

// The program's folder + "engine_chrome" + separator.
QString EngineFolder();

// The engine's process-wide settings that must exist before the
// application object: resources, locales, single-process mode, no sandbox.
void PrepareEngineEnvironment(const QString& engineFolder);

// Checks the engine's version and files in `engineFolder`, then creates the
// profile with its cache and user data under `dataFolder` (the engine folder
// of the folder the program writes in) and installs the bridge script. On
// failure shows its own error box and answers false.
bool StartEngine(const QString& engineFolder, const QString& dataFolder);

// The writable folder + "engine_chrome" + separator.
QString EngineDataFolder();

// True once StartEngine succeeded.
bool EngineStarted();

// The profile every browser of the process uses; null before the start.
QWebEngineProfile* EngineProfile();

// Why the engine cannot run from `engineFolder`, or empty when it can.
QString CheckEngineFiles(const QString& engineFolder);

}  // namespace engine
