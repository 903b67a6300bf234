#pragma once

// Page names: each page's object name and its key in the Navigator.
namespace PageId {
inline constexpr const char *Splash = "frmSplash";
inline constexpr const char *Main = "frmMain";
inline constexpr const char *BusName = "frmBusName";
inline constexpr const char *BusType = "frmBusType";
inline constexpr const char *BusKind = "frmBusKind";
inline constexpr const char *BusPurp = "frmBusPurp";
inline constexpr const char *BusGoals = "frmBusGoals";
inline constexpr const char *BusPersp = "frmBusPersp";
inline constexpr const char *BusStatus = "frmBusStatus";
inline constexpr const char *BusEmp = "frmBusEmp";
inline constexpr const char *BusDesc = "frmBusDesc";
inline constexpr const char *View = "frmView";
inline constexpr const char *BusAdMktg = "frmBusAdMktg";
inline constexpr const char *BusInEx = "frmBusInEx";
inline constexpr const char *BusInEx2 = "frmBusInEx2";
inline constexpr const char *BusInEx3 = "frmBusInEx3";
inline constexpr const char *Other = "frmOther";
inline constexpr const char *TxtEditor = "frmTxtEditor";
inline constexpr const char *Instruc = "frmInstruc";
inline constexpr const char *Info = "frmInfo";
inline constexpr const char *Share = "frmShare";
inline constexpr const char *Distribution = "frmDistribution";
inline constexpr const char *Warranty = "frmWarranty";
inline constexpr const char *VersionHx = "frmVersionHx";
inline constexpr const char *Credits2 = "frmCredits2";
} // namespace PageId
