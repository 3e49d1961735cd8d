#pragma once
// TBlobPodChild: one of the twelve small stars a pod bursts into. Each has a
// colour of its own, spins as it flies, homes in on the ship fast and dies
// after five hits, worth 250. One life: after its explosion it waits in the
// enemy list for the next pod.
#include "enemies/blobPod.h"

class TBlobPodChild : public TBlobPod {
 public:
  TBlobPodChild();
  // Also draws a fresh colour, so a reused child never keeps its old one.
  void Create() override;
};
