#pragma once

namespace Phonon {
class MediaObject;
}

// Phonon's GStreamer backend answers the pipeline's "about to finish" on a streaming thread by
// waiting there, for up to the rest of the file, for a next source to follow without a gap.
// The trainer never queues sources, and that thread often enters the wait during the very
// state change a stop, pause, seek or new source makes on the GUI thread, which then waits
// with it: the window froze for up to 24 s. This cuts the backend's handler off the signal, so
// the stream simply ends (finished() still comes). Call it once the player has its backend
// object, after its paths are made; returns false when the backend is not the one expected.
bool cutGaplessWait(Phonon::MediaObject *player);
