// The start-up queue: routines the schemes queue while they are built, run
// once the whole program stands.
#pragma once

using TStartupRoutine = void (*)(void* object);
void AddStartup(TStartupRoutine routine, void* object);
void RunStartup();
// False until the first RunStartup; a container that builds an instance
// after start-up saves, clears and restores it (see TZelMultiElementEx).
extern bool StartupDone;
// Forgets queued routines and clears StartupDone (program end, tests).
void ResetStartup();
