#pragma once

// PortAudio probes ALSA and JACK every time it initialises, and both print what they do not
// find (about a hundred lines per take without a sound server) on the terminal. Their error
// and information printers are replaced by silent ones, once per process, before the first
// initialisation. Safe to call from any thread, any number of times.
void silenceAudioLibraries();
