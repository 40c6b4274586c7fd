#include "gaplesswait.h"

#include <phonon/MediaObject>

bool cutGaplessWait(Phonon::MediaObject *player)
{
    // The backend object is the player's child and its pipeline the backend object's child;
    // both are private to the backend, so they are found by their signal and slot.
    bool cut = false;
    for (QObject *backend : player->findChildren<QObject *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (backend->metaObject()->indexOfSlot("handleAboutToFinish()") < 0)
            continue;
        for (QObject *pipeline : backend->findChildren<QObject *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (pipeline->metaObject()->indexOfSignal("aboutToFinish()") >= 0)
                cut = QObject::disconnect(pipeline, SIGNAL(aboutToFinish()), backend, SLOT(handleAboutToFinish())) || cut;
        }
    }
    return cut;
}
