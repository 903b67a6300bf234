#pragma once

// The fixed texts of the Instructions, Info, side and credits pages, in one place.
// Captions keep their access-key marks ("&&" for one ampersand).

#include <QString>
#include <QStringList>

namespace InfoText {

// Shared by every Close button of these pages.
inline const QString CloseCaption = QStringLiteral("&Close");
inline const QString CloseTip = QStringLiteral("Click here to close this window.");

// Instructions page
inline const QString InstrucTitle = QStringLiteral("Quorvane - Instructions");
inline const QString InstrucWhy = QStringLiteral(
    "A business plan is one of the most valuable tools a business owner can have. You will usually "
    "need one when you apply for a loan, and sometimes when you apply for an official permit or "
    "licence. A plan also helps you evaluate and manage your business as it grows, because a good "
    "plan holds your goals, your budgets and your ideas in one place. Take a fresh look at your plan "
    "at least once a year and bring it up to date.");
inline const QString InstrucHow = QStringLiteral(
    "Using Quorvane is easy. Work through the steps on the main screen and supply the information "
    "for each section in the spaces provided. Then choose Edit Text & Save to File to edit your plan, "
    "save it to a file and/or print it. To continue working on your plan later, choose Open in the "
    "File menu of the text editing page and select the document you saved. Every question, answered "
    "or not, appears on the text editing page as a reminder to include as much information in your "
    "plan as you can.");
inline const QString DistributionCaption = QStringLiteral("&Distribution");
inline const QString DistributionTip = QStringLiteral("Distribution information.");
inline const QString WarrantyCaption = QStringLiteral("&Warranty");
inline const QString WarrantyTip = QStringLiteral("Warranty information.");
inline const QString SharewareCaption = QStringLiteral("&Shareware");
inline const QString SharewareTip = QStringLiteral("About shareware in general.");
inline const QString ReturnCaption = QStringLiteral("&Return to Main Screen");
inline const QString ReturnTip = QStringLiteral("Click here to return to the main screen.");

// Info page
inline const QString InfoTitle = QStringLiteral("Quorvane - Information");
inline const QString InfoAbout = QStringLiteral(
    "Quorvane helps the owner of a small business put together a business plan, one step at a "
    "time: answer the questions, then edit, save and print the finished plan. Questions, ideas "
    "and comments are always welcome. Please write to us at:");
// A person to write to, then where: organisation, street, town, e-mail, web.
inline const QStringList InfoContact = {
    QStringLiteral("Rosalind Ashby"),     QStringLiteral("Quillmere Software"),
    QStringLiteral("42 Inkwell Lane"),    QStringLiteral("Anytown, ST 00000"),
    QStringLiteral("support@example.com"), QStringLiteral("www.example.com"),
};
inline const QString PictureTip = QStringLiteral("Click here to read the credits.");
inline const QString VersionHxLink = QStringLiteral("Version History");
inline const QString VersionHxTip = QStringLiteral("Click here to read the version history.");

// About Shareware
inline const QString ShareTitle = QStringLiteral("About Shareware");
inline const QString ShareText = QStringLiteral(
    "Shareware is a way of distributing software that lets you try a program before you pay for it. "
    "You may use a shareware program for a while, copy it and pass it on so that others can try it "
    "too. If you find the program useful and keep using it, you are asked to register it with its "
    "author. Registering supports the author and encourages more good, low-cost software.\n"
    "\n"
    "Shareware is not free software, and it is not in the public domain. Authors of shareware keep "
    "all the rights to their programs, just as the makers of commercial software do, and they decide "
    "how their programs may be copied and passed on.");
inline const QString ShareClosing =
    QStringLiteral("The terms for copying and passing on Quorvane are given in the Distribution section.");

// Distribution
inline const QString DistributionTitle = QStringLiteral("Quorvane - Distribution Information");
inline const QString DistributionText = QStringLiteral(
    "Quorvane is the property of Quillmere Software. All rights reserved.\n"
    "\n"
    "You may copy Quorvane and give it to others free of charge. You may not ask for anything in "
    "return beyond the cost of a disk, postage or a download.\n"
    "\n"
    "You may not sell Quorvane, or bundle it with any product or service that is sold, without "
    "written permission from Quillmere Software.\n"
    "\n"
    "You may change only the parts of Quorvane that create the business plan, so that the plan "
    "suits your own needs. Every other part of the program must stay as it is.");
inline const QString DistributionContact =
    QStringLiteral("For further information, please contact Quillmere Software at support@example.com.");

// Warranty: one disclaimer that runs on over three labels.
inline const QString WarrantyTitle = QStringLiteral("Quorvane - Warranty Information");
inline const QString WarrantyAsIs = QStringLiteral(
    "Quorvane is supplied as is. Quillmere Software disclaims all warranties, expressed or implied, "
    "including without limitation the warranties of merchantability and of fitness for any "
    "particular purpose.");
inline const QString WarrantyLiability = QStringLiteral(
    "In no event will the liability of Quillmere Software exceed the price paid for the right to use "
    "Quorvane, whatever the damage that comes from using the program or from being unable to use it.");
inline const QString WarrantyRisk = QStringLiteral(
    "You use Quorvane at your own risk. You may not reverse compile, disassemble or otherwise modify "
    "the program, except for the parts that create the business plan, as the Distribution section "
    "allows.");

// Version history, in caption form: "&&" shows as one ampersand.
inline const QString VersionHxTitle = QStringLiteral("Quorvane - Version History");
inline const QString VersionHxEarly = QStringLiteral(
    "Version 1.1:\n"
    "- Replaced About page with Credits page.\n"
    "- Created Version History page.\n"
    "- Changed method of saving to file.\n"
    "- Updated ReadMe file.\n"
    "- Moved 'Other Info' to main contents page.\n"
    "- Removed '255-character limit' warnings.\n"
    "\n"
    "Version 1.2:\n"
    "- Corrected typos && fixed minor errors.\n"
    "- Fixed saving of short-term goals #4 && #5.\n"
    "- Redid main contents page.\n"
    "- Added error trap to Close (X) button.\n"
    "- Redid Employee page.\n"
    "- Redid Product/Service Description page.\n"
    "- Repackaged program w/o redundant files.\n"
    "\n"
    "Version 1.3:\n"
    "- Redid credits page.\n"
    "- Refined some (X) button error traps.\n"
    "- Fixed 'Return to Main' bugs in Steps 2 && 3.\n"
    "- Changed way of saving Prod/Svc desc.\n"
    "- Created a 'clear all' function.\n"
    "- Created 'clear' function for Emp. && Desc.");
inline const QString VersionHxLate = QStringLiteral(
    "Version 2.0:\n"
    "- Added text editing capabilities.\n"
    "\n"
    "Version 2.1:\n"
    "- Corrected Text Editor exit problem.\n"
    "- Corrected text saving problem.\n"
    "\n"
    "Version 2.1.1:\n"
    "- Made changes to stress need to\n"
    "   save to a file.\n"
    "- Fixed text editor resizing problem.");

// Credits. The names here are used nowhere else in the program.
inline const QString CreditsTitle = QStringLiteral("Quorvane-Credits");
inline const QString CreditsText = QStringLiteral(
    "Many thanks to our beta testers: Ada Quist, Bram \"Gizmo\" Holloway, Cleo Fenwick, "
    "Dorian \"Nightjar\" Vale and Elsie Marchbank. Special thanks to Tobias Wren, who taught the "
    "author BASIC and Pascal.");

} // namespace InfoText
