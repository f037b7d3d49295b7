// dvrctl's own pieces that are tested one class at a time.
#include "../../../tools/dvrctl/CommandArguments.cpp"
#include "../../../tools/dvrctl/PlaybackPacer.cpp"
