#pragma once
// The hosts the plug-in tells apart, found by a piece of their product string.
// GetHostId() gives one of these, kHostIdOther for any other host and
// kHostIdNotAsked before the host was asked for its product.

enum HostId : int {
    kHostIdNotAsked = -1,
    kHostIdOther = 0,
    kHostIdReaper = 1,
    kHostIdCubase = 3,
    kHostIdNuendo = 4,
    kHostIdCakewalk = 5,
    kHostIdFruity = 7,
    kHostIdSamplitude = 8,
    kHostIdLive = 9,
    kHostIdMelodyne = 12,
    kHostIdVstManLib = 13,
    kHostIdAuLab = 14,
    kHostIdForte = 15,
    kHostIdChainer = 16,
    kHostIdAudition = 17,
    kHostIdOrion = 18,
    kHostIdSawStudio = 20,
    kHostIdLogic = 21,
    kHostIdDigitalPerformer = 22,
    kHostIdAudioMulch = 23,
    kHostIdPreSonus = 24,
    kHostIdAcoustica = 25,
    kHostIdGarageBand = 26,
    kHostIdArdour = 27,
};
