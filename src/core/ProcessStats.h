#ifndef TAVRO_CORE_PROCESSSTATS_H
#define TAVRO_CORE_PROCESSSTATS_H

// Figures of this process from /proc, for the soak and the fuzz checks; -1 when unknown.
long ResidentKilobytes();
int OpenDescriptors();

#endif
