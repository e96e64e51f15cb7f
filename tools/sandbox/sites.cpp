#include "tools/sandbox/sites.h"

#include <map>

#include "tests/route_guide/gps_host.h"

namespace sandbox {

namespace {

constexpr Plugin C = Plugin::Camera;
constexpr Plugin G = Plugin::RouteGuide;

const char* const FollowPed = "camera hooks (bProcess_FollowPed)";
const char* const FollowVeh = "camera hooks (bProcess_FollowVeh)";
const char* const FireSites = "pad overrides (bProcess_FollowPed)";
const char* const StickSites = "pad overrides (bProcess_FollowVeh)";
const char* const WalkSites = "walk key (keyWalk)";

std::vector<SiteInfo> CameraSites() {
    std::vector<SiteInfo> sites = {
        {C, 0x459A7C, 5, "OnFootCameraDispatch", FollowPed, 0, ""},
        {C, 0x459A65, 2, "NOP x2", FollowPed, 0, ""},
        {C, 0x4F1F74, 1, "byte 0xFF", FollowPed, 0, ""},
        {C, 0x469226, 7, "NOP x7", FollowPed, 0, ""},
        {C, 0x469260, 7, "NOP x7", FollowPed, 0, ""},
        {C, 0x468E46, 5, "NoOperation", FollowPed, 0, ""},
        {C, 0x46D500, 5, "AimingHook", "aiming hook (always)", 0x468250, "HostCameraStep"},
        {C, 0x50554D, 1, "byte 0x00", "crosshair (bProcess_FollowPed)", 0, ""},
        {C, 0x505628, 1, "byte 0x00", "crosshair (bProcess_FollowPed)", 0, ""},
        {C, 0x505EA9, 5, "DrawCrosshair", "crosshair (bProcess_FollowPed)", 0, ""},
        {C, 0x614E3C, 388, "controls page record (388 bytes)",
         "controls page (bProcess_FollowPed)", 0, ""},
        {C, 0x4E72FC, 5, "PlayerUpdateHook", "player-state hooks (bProcess_FollowPed)", 0x4C6A50,
         "HostCharacterUpdateStep"},
        {C, 0x4EDDB0, 5, "TorsoStub", "torso fix (bTorsoFix)", 0, ""},
        {C, 0x4F22A0, 5, "AimGuardHook", "player-state hooks (bProcess_FollowPed)", 0x4F28A0,
         "HostCharacterReleaseLock"},
    };
    for (uint32_t site : {0x4F2685u, 0x469292u, 0x4C7673u, 0x4F03D5u, 0x4D76CEu, 0x45DB98u})
        sites.push_back({C, site, 5, "RotationPredicate", FollowPed, 0, ""});
    for (uint32_t site : {0x4E6562u, 0x55D88Bu, 0x560C25u})
        sites.push_back({C, site, 5, "AimPredicate", FollowPed, 0, ""});
    for (uint32_t site : {0x459A54u, 0x459B36u, 0x459A16u})
        sites.push_back({C, site, 5, "VehicleCameraEntry", FollowVeh, 0, ""});
    for (uint32_t site : {0x4F203Au, 0x4F20ABu})
        sites.push_back({C, site, 5, "FireHeldOverride", FireSites, 0x4936C0, "HostPadFireHeld"});
    for (uint32_t site : {0x4F20DBu, 0x4F2086u})
        sites.push_back(
            {C, site, 5, "FirePressedOverride", FireSites, 0x493700, "HostPadFirePressed"});
    for (uint32_t site : {0x45A1C8u, 0x45AF7Au, 0x46007Au, 0x468E5Du})
        sites.push_back(
            {C, site, 5, "RightStickXOverride", StickSites, 0x493F80, "HostPadRightStickX"});
    for (uint32_t site : {0x45A1E8u, 0x45AF9Au, 0x46009Au, 0x468E71u})
        sites.push_back(
            {C, site, 5, "RightStickYOverride", StickSites, 0x494130, "HostPadRightStickY"});
    for (uint32_t site : {0x493CEAu, 0x4F13E2u, 0x487ED6u, 0x4CA5CFu, 0x468EA4u, 0x493C8Au,
                          0x4F1987u, 0x4CA779u, 0x487E51u, 0x493D4Au, 0x493C2Au, 0x4F3226u,
                          0x4F181Du, 0x4C791Au})
        sites.push_back(
            {C, site, 5, "WalkAxisAOverride", WalkSites, 0x493110, "HostPadWalkAxisA"});
    for (uint32_t site : {0x4F3246u, 0x4C7938u, 0x4F1832u, 0x4F13F8u, 0x4CA5F3u, 0x468EBCu,
                          0x4CA7A0u, 0x4F199Du})
        sites.push_back(
            {C, site, 5, "WalkAxisBOverride", WalkSites, 0x493190, "HostPadWalkAxisB"});
    return sites;
}

template <class Host>
std::vector<SiteInfo> RouteGuideSites() {
    return {
        {G, Host::RadarDrawSite, 5, "RadarDrawHook", "route guide", Host::RadarDrawStep::address,
         "HostRadarDrawStep"},
        {G, Host::RadarFrameSite, 5, "RadarFrameHook", "route guide",
         Host::RadarFrameStep::address, "HostRadarFrameStep"},
        {G, Host::ResetSite, 5, "ResetHook", "route guide", Host::ResetStep::address,
         "HostResetStep"},
        {G, Host::NopSite, 5, "NOP x5", "route guide", 0, ""},
    };
}

std::vector<SiteInfo> Join(std::vector<SiteInfo> a, const std::vector<SiteInfo>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

template <class Host>
std::map<uint32_t, std::string> RouteRoutineNames() {
    return {{Host::GetPlayerVehicle::address, "HostGetPlayerVehicle"},
            {Host::RouteSearch::address, "HostRouteSearch"},
            {Host::WorldToRadar::address, "HostWorldToRadar"},
            {Host::RadarToScreen::address, "HostRadarToScreen"},
            {Host::QuadDepthQuery::address, "HostQuadDepthQuery"},
            {Host::DrawStateSet::address, "HostDrawStateSet"},
            {Host::SecondaryStateSet::address, "HostSecondaryStateSet"},
            {Host::QuadSetup::address, "HostQuadSetup"},
            {Host::SubmitVertices2D::address, "HostSubmitVertices2D"},
            {Host::BlipColourQuery::address, "HostBlipColourQuery"},
            {Host::DrawRadarMarker::address, "HostDrawRadarMarker"},
            {Host::HandleToObject1::address, "HostHandleToObject1"},
            {Host::HandleToObject2::address, "HostHandleToObject2"},
            {Host::HandleToObject3::address, "HostHandleToObject3"},
            {Host::RadarDrawStep::address, "HostRadarDrawStep"},
            {Host::RadarFrameStep::address, "HostRadarFrameStep"},
            {Host::ResetStep::address, "HostResetStep"},
            {Host::PlaySound::address, "HostPlaySound"},
            {Host::TextFromAscii::address, "HostTextFromAscii"},
            {Host::TextPrint::address, "HostTextPrint"},
            {Host::TextOptionA::address, "HostTextOptionA"},
            {Host::TextScale::address, "HostTextScale"},
            {Host::TextColour::address, "HostTextColour"},
            {Host::TextOptionB::address, "HostTextOptionB"},
            {Host::TextOptionC::address, "HostTextOptionC"},
            {Host::TextOptionD::address, "HostTextOptionD"}};
}

const std::map<uint32_t, std::string>& CameraRoutineNames() {
    static const std::map<uint32_t, std::string> names = {
        {0x4A1150, "HostGetPlayerCharacter"}, {0x4A10C0, "HostGetPlayerVehicle"},
        {0x4A1220, "HostGetPlayerHeading"},   {0x48CC30, "HostAngleOfVector"},
        {0x4BA560, "HostNormaliseVector"},    {0x4BA4D0, "HostTransformPoint"},
        {0x4AF970, "HostLineOfSight"},        {0x5A5070, "HostSetNearClip"},
        {0x457A80, "HostCamPivotRoutine"},    {0x46B850, "HostCameraAimValue"},
        {0x468250, "HostCameraStep"},         {0x4B8DD0, "HostMatrixAttach"},
        {0x4B9370, "HostMatrixSetRotateZ"},   {0x4B9280, "HostMatrixSetHeading"},
        {0x4B8EC0, "HostMatrixUpdate"},       {0x4B8DB0, "HostMatrixRelease"},
        {0x4C6960, "HostCharacterPreTurn"},   {0x4E5F70, "HostCharacterAimPose"},
        {0x4E6180, "HostCharacterAimEndA"},   {0x4E6790, "HostCharacterAimEndB"},
        {0x4F28A0, "HostCharacterReleaseLock"}, {0x4F28D0, "HostCharacterAcquireLock"},
        {0x4C6A50, "HostCharacterUpdateStep"}, {0x493F80, "HostPadRightStickX"},
        {0x494130, "HostPadRightStickY"},     {0x493110, "HostPadWalkAxisA"},
        {0x493190, "HostPadWalkAxisB"},       {0x4936C0, "HostPadFireHeld"},
        {0x493700, "HostPadFirePressed"},     {0x493320, "HostPadAimBlockA"},
        {0x493970, "HostPadAimHeld"},         {0x493A70, "HostPadAimBlockB"},
        {0x493AE0, "HostPadLockRequestA"},    {0x493B10, "HostPadLockRequestB"},
        {0x492F60, "HostGetPad"},             {0x51EE90, "HostQuadSetupFromRect"},
        {0x5A43C0, "HostDrawStateSet"},       {0x5A4430, "HostSubmitVertices2D"}};
    return names;
}

}  // namespace

const std::vector<SiteInfo>& DocumentedSites(HostBuild build) {
    // The camera plug-in knows build 1.0 only; on 1.1 its sites are listed all the same so
    // that a write there would be named.
    static const std::vector<SiteInfo> build10 = Join(CameraSites(), RouteGuideSites<sim::gps::Build10>());
    static const std::vector<SiteInfo> build11 = Join(CameraSites(), RouteGuideSites<sim::gps::Build11>());
    return build == HostBuild::V10 ? build10 : build11;
}

const SiteInfo* FindSite(HostBuild build, uint32_t address) {
    for (const SiteInfo& site : DocumentedSites(build))
        if (address >= site.address && address < site.address + site.size) return &site;
    return nullptr;
}

std::string HostRoutineName(HostBuild build, uint32_t address) {
    static const auto route10 = RouteRoutineNames<sim::gps::Build10>();
    static const auto route11 = RouteRoutineNames<sim::gps::Build11>();
    const auto& route = build == HostBuild::V10 ? route10 : route11;
    if (auto found = route.find(address); found != route.end()) return found->second;
    if (build == HostBuild::V10)
        if (auto found = CameraRoutineNames().find(address); found != CameraRoutineNames().end())
            return found->second;
    return "";
}

const char* PluginFile(Plugin plugin) {
    return plugin == Plugin::Camera ? "iii_kelvora.asi" : "gps.asi";
}

}  // namespace sandbox
