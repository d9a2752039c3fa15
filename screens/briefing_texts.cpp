#include "screens/briefing_texts.h"

namespace halvane {

namespace {

constexpr const char *kEndOfTransmission = "*** END OF TRANSMISSION ***";

// Missions 1 to 3: messages from command, one line per step.
constexpr BriefingMission kMission1{
    10,
    10,
    {{{1, 70, 100, "Welcome to Corvel Team,", 0},
      {2, 70, 120, "There is precious little time, so this will be brief. The first", 0},
      {3, 70, 130, "objective in your mission is to penetrate an enemy outpost to", 0},
      {4, 70, 140, "thin out enemy forces, while obtaining vital data.", 0},
      {5, 70, 150, "Your success is imperative to our cause.", 0},
      {6, 70, 160, "Once you have retrieved the information you must obliterate one", 0},
      {7, 70, 170, "of their outposts to clear the sector.", 0},
      {8, 70, 180, "We will send wingmen if possible, but do not rely on this.", 0},
      {9, 70, 190, "We're counting on you. You are our last hope.", 0},
      {10, 70, 220, kEndOfTransmission, 0}}}};

constexpr BriefingMission kMission2{
    8,
    8,
    {{{1, 40, 100, "Now that you have removed the immediate threat we have time to talk.", 0},
      {2, 40, 120, "We believe the force you were fighting was of non-human origin.", 0},
      {3, 40, 130, "To the best of our knowledge, they have opened a spacial rift to", 0},
      {4, 40, 140, "another universe. Your next mission will be to investigate a suspected", 0},
      {5, 40, 150, "location of the rift. If you are successful, you will pass through the", 0},
      {6, 40, 160, "portal and annihilate any forces defending the base.", 0},
      {7, 40, 180, "Good Luck.", 0},
      {8, 40, 210, kEndOfTransmission, 0}}}};

constexpr BriefingMission kMission3{
    8,
    8,
    {{{1, 40, 110, "Unfortunately we have discovered that the suspected location was a", 0},
      {2, 40, 120, "decoy. It appears that the real rift was in the fortress you decimated", 0},
      {3, 40, 130, "in your first mission. The fortress wasn't destroy either. That also", 0},
      {4, 40, 140, "was an illusion of the enemy.", 0},
      {5, 40, 150, "Because of the time spent on the second mission they have rebuilt", 0},
      {6, 40, 160, "the fortress stronger than before. You must infiltrate their base", 0},
      {7, 40, 170, "one more time.", 0},
      {8, 40, 200, kEndOfTransmission, 0}}}};

// Missions 4 and 5: alien transmissions. The dots grow because each longer
// variant is drawn over the shorter ones at the same place.
constexpr BriefingMission kMission4{
    11,
    13,
    {{{1, 30, 100, "Incoming transmission of alien origin", 0},
      {2, 30, 100, "Incoming transmission of alien origin.", 0},
      {3, 30, 100, "Incoming transmission of alien origin..", 0},
      {4, 30, 100, "Incoming transmission of alien origin...", 0},
      {5, 30, 130, nullptr, 2},
      {5, 349, 130, nullptr, 3},
      {5, 496, 130, nullptr, 4},
      {6, 30, 165, "Translating", 0},
      {7, 30, 165, "Translating.", 0},
      {8, 30, 165, "Translating..", 0},
      {9, 30, 165, "Translating...", 0},
      {10, 30, 185, "Leave our space now. You will be destroyed if you continue your course.", 0},
      {11, 30, 215, kEndOfTransmission, 0}}}};

constexpr BriefingMission kMission5{
    14,
    15,
    {{{1, 40, 110, "Incoming sensor information", 0},
      {2, 40, 110, "Incoming sensor information.", 0},
      {3, 40, 110, "Incoming sensor information..", 0},
      {4, 40, 110, "Incoming sensor information...", 0},
      {5, 40, 130, "High density of alien forces ahead.", 0},
      {6, 40, 140, "Assumption: Alien capital.", 0},
      {7, 40, 150, "Mission: Destroy all resistance, this is your last mission.", 0},
      {8, 40, 170, "Incoming Alien Message", 0},
      {9, 40, 170, "Incoming Alien Message.", 0},
      {10, 40, 170, "Incoming Alien Message..", 0},
      {11, 40, 170, "Incoming Alien Message...", 0},
      {12, 40, 187, nullptr, 5},
      {12, 346, 187, nullptr, 6},
      {13, 40, 214, "You will be punished for entering our space!", 0},
      {14, 40, 244, kEndOfTransmission, 0}}}};

} // namespace

const OffsetArray<BriefingMission, 1, kMissions> BriefingMissions{
    {kMission1, kMission2, kMission3, kMission4, kMission5}};

} // namespace halvane
