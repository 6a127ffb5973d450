#!/usr/bin/env python3
"""Write Cardwright's reference texts (data/data/*.txt, data/data/abbr.dat).

The reference texts window shows these files line by line in a Courier font,
31 lines to a page, and prints them the same way.  It does not wrap long lines,
so every text here is laid out for the window by this script: paragraphs are
wrapped at a fixed column and entries are separated by one empty line.

    notices.txt   Special Notices of this release   (shown indented by two blanks)
    tips.txt      Tips for Using this Program       (suit markup shown as typed)
    abbr.dat      Bridge Abbreviations              one per line: ABBR <TAB> meaning
    convent.txt   Bridge Conventions                a name line, its text, an empty line

In every file but tips.txt the suit markup <c> <d> <h> <s> is drawn as the club,
diamond, heart and spade symbols; in tips.txt the same characters stand for what
the user sees typed in a text field, so they are used there only in that sense.
No file carries comment header lines: every line is shown.

The files are written as windows-1252 bytes with CR LF line ends, like every
text file of the program.

Usage:
    make_reference_texts.py [--output DIR]   write the four files (default: data/data)
    make_reference_texts.py --check [DIR]    check the files in DIR; exit status 1 on failure
"""

import argparse
import os
import re
import sys
import textwrap

ENCODING = "cp1252"
EOL = b"\r\n"

# Widest raw line, counted in characters with a tab taken to the next multiple
# of eight and with the two blanks put in front of every line of notices.txt.
MAX_COLUMNS = 74
NOTICES_PREFIX = "  "
TAB_STOP = 8

MIN_ABBREVIATIONS = 150
MIN_CONVENTIONS = 80


# ---------------------------------------------------------------------------
# Layout helpers


GLUE = "\x01"


def wrap(text, width, indent="", hanging=""):
    """Wrap one paragraph.

    Words, and so suit tags, are never split, and an auction written with
    " - " between its calls (1<c> - 1<h> - 1NT) is never broken at a dash, so
    that no continuation line starts with "- " and looks like a list item.
    """
    glued = " ".join(text.split()).replace(" - ", GLUE + "-" + GLUE)
    lines = textwrap.wrap(
        glued,
        width=width,
        initial_indent=indent,
        subsequent_indent=hanging,
        break_long_words=False,
        break_on_hyphens=False,
    )
    return [line.replace(GLUE, " ") for line in lines]


def heading(text, rule="-"):
    return ("heading", text, rule)


def para(text):
    return ("para", text)


def bullets(*items):
    return ("bullets", items)


def verbatim(*lines):
    return ("verbatim", lines)


def layout_document(blocks, width):
    """Lay out a list of blocks; one empty line goes between blocks, none
    between a heading and the block under it."""
    lines = []
    previous = None
    for block in blocks:
        kind = block[0]
        if lines and not (previous == "heading" and kind != "heading"):
            lines.append("")
        previous = kind
        if kind == "heading":
            lines.append(block[1])
            lines.append(block[2] * len(block[1]))
        elif kind == "para":
            lines.extend(wrap(block[1], width))
        elif kind == "bullets":
            for item in block[1]:
                lines.extend(wrap(item, width, "- ", "  "))
        elif kind == "verbatim":
            lines.extend(block[1])
        else:
            raise ValueError(kind)
    return lines


def layout_entries(entries, width):
    """Title line, its wrapped text, an empty line between entries."""
    lines = []
    for title, text in entries:
        if lines:
            lines.append("")
        lines.append(title)
        parts = [text] if isinstance(text, str) else text
        for part in parts:
            if part.startswith("- "):
                lines.extend(wrap(part[2:], width, "- ", "  "))
            else:
                lines.extend(wrap(part, width))
    return lines


# ---------------------------------------------------------------------------
# notices.txt

NOTICES = [
    heading("CARDWRIGHT 6.3.19 - SPECIAL NOTICES", "="),
    para("Please read these notices before you print your first card, and again "
         "whenever a card does not print the way you expect."),

    heading("1. PRINTING YOUR CARD"),
    para("Open the card, then choose \"Print My Card\", \"Print Partner's Card\" "
         "or \"Print Both Cards\" from the File menu.  Choose the printer in the "
         "print dialog; the \"Printing Options\" panel then appears.  Nothing is "
         "printed until you press \"OK\"."),
    para("Print size.  \"Print Width\" and \"Print Height\" set the size of the "
         "printed card, in millimetres.  The standard values of the card format "
         "are shown beside the boxes as \"Default = ...\".  Enter a larger number "
         "to print a larger card and a smaller number to print a smaller one.  "
         "Change the values a few millimetres at a time, print one copy, and "
         "measure it with a ruler before you change them again."),
    para("Margins.  \"Front Page Left Margin\" and \"Back Page Left Margin\" "
         "move the card away from the left edge of the paper, in millimetres.  "
         "If the right-hand edge of the card is cut off, reduce the margin or "
         "the print width."),
    para("Text position.  \"Y Text Alignment\" moves the text you typed up or "
         "down against the printed form (a larger value moves it down, a "
         "negative value moves it up).  Use it when your entries sit on the "
         "lines of the form instead of just above them."),
    para("Save Settings.  \"Save Settings\" keeps the size, the margins, the "
         "text position, the choice of sides and \"Print Black only\" for this "
         "card format, so that every later print job starts from them."),
    para("Too far down.  The message \"At least one field at the bottom of the "
         "page is too far down to print.\" means that the card is taller than "
         "the part of the page your printer can reach.  Enter a smaller \"Print "
         "Height\" (or a smaller \"Y Text Alignment\") and print again."),
    para("Partner's card.  \"Print Partner's Card\" prints the card with the "
         "names and player numbers as they appear on your partner's card, as "
         "entered under \"Edit Names and Player Numbers\".  \"Print Both "
         "Cards\" prints your card and then your partner's in one job."),
    para("Paper orientation.  For the ACBL and Canadian cards the panel also "
         "offers \"Paper Orientation\".  The default width and height shown "
         "beside the boxes change with the orientation you select; keep the "
         "orientation that gives a correct test print."),

    heading("2. PRINTING ON BOTH SIDES"),
    para("If your printer can print on both sides of the paper, select \"Both "
         "Sides\": the front page is printed on one side of the sheet and the "
         "back page on the other."),
    para("If it cannot, select \"Front Side\" and print.  Then put the same "
         "sheet back into the paper tray, turned over, select \"Back Side\" and "
         "print again.  Mark the top edge of a scrap sheet with a pencil and "
         "print a test first: that shows you which way your printer wants the "
         "sheet turned."),
    para("Hold the finished sheet against the light.  If the back page is not "
         "in line with the front, change \"Back Page Left Margin\" and use "
         "\"Save Settings\"."),

    heading("3. PRINTING TO A PDF FILE"),
    para("To make a PDF file instead of a paper copy, choose \"Print to File "
         "(PDF)\" as the printer in the print dialog, give the file a name and a "
         "folder, and print.  The \"Printing Options\" work exactly as they do "
         "for paper."),
    para("A PDF file is the easiest way to send a card to your partner or to "
         "a tournament director by e-mail.  To keep its size when it is printed, "
         "print it from the PDF viewer at actual size (100 per cent), not "
         "\"fit to page\"."),

    heading("4. BLACK-AND-WHITE PRINTING"),
    para("Tick \"Print Black only\" to print the red <h> and <d> symbols and "
         "the coloured check boxes of your card in black.  Use "
         "it on a black-and-white laser printer, where red comes out as a pale "
         "grey that is hard to read at the table.  On a colour printer leave it "
         "unticked."),

    heading("5. NEW IN THIS RELEASE (LINUX)"),
    para("Suit symbols.  The suit symbols <c>, <d>, <h> and <s> are now drawn "
         "with Cardwright's own suit font, which is installed "
         "with the program in its \"fontsdir\" folder.  It is used by Cardwright "
         "only; there is nothing to install in the system.  If you see the "
         "letters A, B, C or D where suit symbols belong, the font file is "
         "missing: please install the program again."),
    para("Transfer folder instead of diskette.  \"Copy a Card to Diskette\" and "
         "\"Copy Cards from Diskette\" keep their names, but they now copy to "
         "and from a folder of your choice: a USB stick, a memory card or a "
         "shared folder.  The folder dialog opens at the first removable medium "
         "it finds.  A card's Supplemental Notes file is copied with it."),
    para("Cards from the Windows version.  Card files and Supplemental Notes "
         "files made with the Windows version can be used as they are: copy "
         "them in with \"Copy Cards from Diskette\".  Upper and lower case in "
         "their file names do not matter."),
    para("Your data folder.  Your cards, notes and settings are kept in "
         "~/.local/share/cardwright (or in the folder given with --root).  On "
         "the first start this folder is filled with the card formats and the "
         "sample card.  Include it in your backups."),
    para("PNG and PDF pictures.  Besides \"Save Card as (JPG, GIF, BMP)\", a "
         "card page can be drawn straight into a PNG, JPG, BMP, GIF or PDF file "
         "from a terminal, without opening the program window:"),
    verbatim("    cardwright render --root DIR --card NAME --out FILE.png"),
    para("DIR is your data folder and NAME the name of the card.  The ending "
         "of FILE (.png, .jpg, .bmp, .gif or .pdf) chooses the kind of file.  "
         "Add --side back for the back page, --partner for your partner's card, "
         "--format CODE for a card of another format and --zoom N to enlarge "
         "the picture.  For example:"),
    verbatim("    cardwright render --root ~/.local/share/cardwright \\",
             "               --card SMITH --side back --out smith_back.pdf"),
    para("Help.  The help is now a set of pages shown in the program's own "
         "help window; it needs no other program."),

    heading("6. HOW TO GET HELP"),
    bullets(
        "Press F1, or choose \"Help on Cardwright\" from the Help menu.  While "
        "a card is shown, help opens at the page on editing a card.",
        "Choose \"Tips\" from the Options menu for short tips on using the "
        "program, and \"Abbreviations\" and \"Conventions\" for the bridge "
        "reference texts.",
        "For Supplemental Notes choose \"Supplemental Notes\" and then \"Help "
        "on Supplemental Notes\" from the Options menu.",
        "If an error occurs, the window \"An Error Occurred\" tells you what "
        "happened and records it in the error log cwrerror.log in your data "
        "folder.  \"Send Now\" mails the log, with your answers to its "
        "questions, to the maintainer; the mail server and addresses are set "
        "in the file mail.ini in your data folder.  Please say what you were "
        "doing when the error occurred.",
        "When you report a problem, give the version number, 6.3.19, shown "
        "in the title bar and in \"About Cardwright\".",
    ),
]


# ---------------------------------------------------------------------------
# tips.txt (suit markup is shown as typed here, never as symbols)

TIPS = [
    heading("TIPS FOR USING CARDWRIGHT", "="),

    heading("Getting started"),
    para("Choose a card format with \"Select Card Format (F2)\", then press "
         "\"Create a New Card\".  Give the card a file name and fill in the "
         "names and player numbers.  A file name may hold letters, digits and "
         "blanks, and these characters:"),
    verbatim("    - _ + ! @ , # $ % ^ &"),
    para("A full stop is not allowed in a file name."),

    heading("Opening a card"),
    para("Click a card in the list and press \"View / Edit Convention Card\", "
         "or double-click the card.  Select \"Front Side\" or \"Back Side\" "
         "first to choose the page you want to see."),

    heading("Filling in text fields"),
    para("Click a text field and type.  What you typed is stored on the card "
         "when you leave the field.  A double quote is stored as two "
         "apostrophes, so prefer apostrophes in your texts."),

    heading("Tab and Shift+Tab"),
    para("Tab moves to the next text field and Shift+Tab to the previous one; "
         "after the last field Tab starts again at the first.  Fields that you "
         "add yourself come last in this order."),

    heading("Suit symbols: F5, F6, F7, F8"),
    para("While typing in a field press F5 for a club, F6 for a diamond, F7 "
         "for a heart and F8 for a spade.  In the field you see the codes <c>, "
         "<d>, <h> and <s>; the symbols appear when you leave the field.  For "
         "example, type 2 and press F5: the field shows 2<c>, and the card "
         "shows a 2 followed by a club symbol.  You may also type the codes "
         "yourself."),

    heading("Ctrl keys in a text field"),
    para("Ctrl+L, Ctrl+R and Ctrl+M align the text of the open field left, "
         "right or centred.  Ctrl+B switches bold on and off.  Ctrl+U and "
         "Ctrl+D move the field up or down one pixel; Ctrl+[ (or Ctrl+I) and "
         "Ctrl+] (or Ctrl+O) move it left or right one pixel."),

    heading("Check boxes and marks"),
    para("Click a check box to tick it and click again to clear it.  Printed "
         "items that can be marked step through their marks (circled, "
         "underlined, both) and back to none with each click.  Coloured dots "
         "take the next colour with each click."),

    heading("F3 saves"),
    para("Press F3 (\"Save Changes\") to save the card.  When you leave a card "
         "with unsaved changes, the program asks whether to save them."),

    heading("F4 redraws the card"),
    para("Press F4 (\"Refresh Screen\") to redraw the card.  If the card has "
         "unsaved changes you are asked first: \"Yes\" saves them, \"No\" "
         "throws them away and shows the card as it was last saved."),

    heading("Right-click for editing options"),
    para("Right-click the card to open the \"Editing Options\" menu.  From "
         "there you can add text fields, check boxes, rectangles and lines, "
         "edit or delete a field, clear an area of the printed form, set the "
         "font of all text fields of the card, and zoom.  Follow the numbered "
         "steps shown in the edit panel; \"Save Change\" keeps the change, "
         "\"Cancel Action\" drops it and \"Done\" returns to filling in."),

    heading("Zoom in and out"),
    para("Choose \"Zoom\" from the right-click menu and use the \"Zoom IN\" "
         "and \"Zoom OUT\" arrows; \"Zoom Factor\" shows the number of steps.  "
         "Press \"Save Zoom Factor\" to keep this zoom for every card of the "
         "card format.  Ctrl and the mouse wheel zoom too, a step a notch.  "
         "Zooming never changes the printed size."),

    heading("Scrolling"),
    para("Page Up and Page Down scroll the card up and down by a quarter of "
         "its height.  F11 scrolls left and F12 right; Shift+F11 scrolls up and "
         "Shift+F12 down.  The mouse wheel scrolls the card up and down, and "
         "with Shift held left and right.  The scroll bars work as usual."),

    heading("Supplemental notes"),
    para("Agreements that do not fit on the card go into a Supplemental Notes "
         "file: press F9, or choose \"Supplemental Notes\" and \"View "
         "Supplemental Notes Files\" from the Options menu.  Create a notes "
         "file and attach it to the card when you are asked.  Begin each note "
         "with its number in square brackets, for example [12], and write [12] "
         "in the card field that refers to it: with that field selected, F9 "
         "opens the notes at note 12.  The \"Card Symbols\" menu of the notes "
         "window inserts the suit codes."),

    heading("Names and player numbers"),
    para("\"Edit Names and Player Numbers\" holds the names and player "
         "numbers as they appear on your card and as they appear on your "
         "partner's card.  \"Print Partner's Card\" uses your partner's "
         "entries, so that each of you gets a correct copy."),

    heading("Printing both sides"),
    para("With a printer that prints on both sides select \"Both Sides\" in "
         "the \"Printing Options\".  Otherwise print \"Front Side\", put the "
         "sheet back turned over and print \"Back Side\".  Choose \"Special "
         "Notices\" for more printing advice."),

    heading("Copying cards to a transfer folder"),
    para("\"Copy a Card to Diskette\" copies a card, both of its pages and its "
         "Supplemental Notes file to a folder you choose, such as a USB stick.  "
         "\"Copy Cards from Diskette\" copies every card it finds in the chosen "
         "folder into the program, and asks before it replaces a card of the "
         "same name.  This is how partners exchange cards."),

    heading("Pictures of a card"),
    para("\"Save Card as (JPG, GIF, BMP)\" saves the card as a picture.  A "
         "card with a back page gives two pictures; the name of the second ends "
         "in _."),

    heading("Card Global Settings"),
    para("\"Card Global Settings\" in the Options menu sets the colours, the "
         "default fonts and the check-box style used by the cards of the "
         "current card format."),

    heading("Reference texts"),
    para("\"Abbreviations\", \"Conventions\" and \"Tips\" in the Options menu "
         "and \"Special Notices\" in the menu bar open reference texts.  Each "
         "can be printed with its \"Print\" button."),
]


# ---------------------------------------------------------------------------
# abbr.dat: (abbreviation, meaning); abbreviations are shorter than a tab
# stop so that the meanings line up in one column.

ABBREVIATIONS = [
    ("0314", "RKCB responses: 5<c> = 0 or 3 keycards, 5<d> = 1 or 4"),
    ("1430", "RKCB responses: 5<c> = 1 or 4 keycards, 5<d> = 3 or 0"),
    ("2/1", "Two over one: a new suit at the two level, not a jump"),
    ("2/1 GF", "Two over one game forcing system"),
    ("2/4", "Second and fourth best leads"),
    ("2WCB", "Two-way checkback (2<c> puppet, 2<d> game forcing)"),
    ("3/5", "Third and fifth best leads"),
    ("4CM", "Four-card majors"),
    ("4SF", "Fourth suit forcing"),
    ("4th", "Fourth best (lead from a long suit)"),
    ("5CM", "Five-card majors"),
    ("A", "Ace"),
    ("ABF", "Australian Bridge Federation"),
    ("ACBL", "American Contract Bridge League"),
    ("AI", "Authorized information"),
    ("AP", "All pass"),
    ("ART", "Artificial"),
    ("ATT", "Attitude (signal)"),
    ("BAL", "Balanced (4-3-3-3, 4-4-3-2 or 5-3-3-2 shape)"),
    ("BAM", "Board-a-match (scoring)"),
    ("BBO", "Bridge Base Online"),
    ("BFI", "Bridge Federation of India"),
    ("BIT", "Break in tempo"),
    ("BSC", "Brown sticker convention (WBF)"),
    ("BS\xcd", "Bridgesamband \xcdslands (Icelandic Bridge Federation)"),
    ("BW", "Blackwood"),
    ("BWS", "Bridge World Standard"),
    ("C", "Clubs (<c>)"),
    ("CAB", "Two Clubs, Ace responses, Blackwood (a British system)"),
    ("CACBF", "Central American and Caribbean Bridge Federation"),
    ("CAP", "Cappelletti (defence to 1NT)"),
    ("CBAI", "Contract Bridge Association of Ireland"),
    ("CBF", "Canadian Bridge Federation"),
    ("CC", "Convention card"),
    ("CNT", "Count (signal)"),
    ("CONV", "Conventional"),
    ("CRASH", "Colour, Rank, Shape (defence to a strong 1<c>)"),
    ("CRO", "Colour, Rank, Odd (two-suited overcalls)"),
    ("CTRL", "Control: an ace counts two, a king one"),
    ("CUE", "Cue bid"),
    ("D", "Diamonds (<d>)"),
    ("DBF", "Danmarks Bridgeforbund (Danish Bridge Federation)"),
    ("DBL", "Double"),
    ("DBV", "Deutscher Bridge-Verband (German Bridge Federation)"),
    ("DD", "Double dummy"),
    ("DECL", "Declarer"),
    ("DEPO", "Double with an even number, pass with an odd number"),
    ("DISC", "Discard"),
    ("DIST", "Distribution"),
    ("DONT", "Disturb Opponents' Notrump (defence to 1NT)"),
    ("DOPI", "Double = 0, pass = 1 (over interference to 4NT)"),
    ("DP", "Distribution points"),
    ("EBL", "European Bridge League"),
    ("EBU", "English Bridge Union"),
    ("EKCB", "Exclusion keycard Blackwood"),
    ("EW", "East-West"),
    ("F", "Forcing"),
    ("F1", "Forcing for one round"),
    ("FAV", "Favourable vulnerability (not vulnerable against vulnerable)"),
    ("FFB", "F\xe9d\xe9ration Fran\xe7aise de Bridge (French Bridge Federation)"),
    ("FG", "Forcing to game"),
    ("FIGB", "Federazione Italiana Gioco Bridge (Italian Federation)"),
    ("FJ", "Fit jump: a jump in a new suit showing support for partner"),
    ("FP", "Forcing pass"),
    ("FSF", "Fourth suit forcing"),
    ("GCC", "General Convention Chart (ACBL)"),
    ("GF", "Game forcing"),
    ("GS", "Grand slam"),
    ("GSF", "Grand slam force"),
    ("GT", "Game try"),
    ("H", "Hearts (<h>)"),
    ("HBF", "Hellenic Bridge Federation"),
    ("HBS", "Hrvatski bridge savez (Croatian Bridge Federation)"),
    ("HCP", "High-card points: A = 4, K = 3, Q = 2, J = 1"),
    ("HSGT", "Help-suit game try"),
    ("HUM", "Highly unusual method (WBF)"),
    ("Hx", "An honour with one small card (a doubleton honour)"),
    ("IJO", "Intermediate jump overcall"),
    ("IMP", "International Match Point"),
    ("INV", "Invitational"),
    ("J", "Jack"),
    ("J2NT", "Jacoby 2NT (game-forcing raise of a major)"),
    ("JO", "Jump overcall"),
    ("JR", "Jump raise"),
    ("JS", "Jump shift"),
    ("JT", "Jacoby transfer"),
    ("K", "King"),
    ("KC", "Keycard: one of the four aces or the trump king"),
    ("KCB", "Keycard Blackwood"),
    ("KS", "Kaplan-Sheinwold (weak notrump system)"),
    ("LA", "Logical alternative"),
    ("LAV", "Lavinthal (suit-preference discards)"),
    ("LDX", "Lead-directing double"),
    ("LEB", "Lebensohl"),
    ("LHO", "Left-hand opponent"),
    ("LOTT", "Law of total tricks"),
    ("LP", "Length points"),
    ("LR", "Limit raise"),
    ("LSGT", "Long-suit game try"),
    ("LTC", "Losing trick count"),
    ("LTTC", "Last train to Clarksville (slam try)"),
    ("M", "A major suit (<h> or <s>)"),
    ("m", "A minor suit (<c> or <d>)"),
    ("MAX", "Maximum"),
    ("MI", "Misinformation"),
    ("MIN", "Minimum"),
    ("MP", "Matchpoints (scoring)"),
    ("MSC", "Master Solvers' Club (The Bridge World)"),
    ("MSS", "Minor suit Stayman"),
    ("MUD", "Middle-up-down (lead from three small cards)"),
    ("NABC", "North American Bridge Championships"),
    ("NAT", "Natural"),
    ("NB", "No bid (pass)"),
    ("NBB", "Nederlandse Bridge Bond (Dutch Bridge Federation)"),
    ("NBF", "Norsk Bridgeforbund (Norwegian Bridge Federation)"),
    ("NEG", "Negative (double)"),
    ("NF", "Not forcing"),
    ("NMF", "New minor forcing"),
    ("NPC", "Non-playing captain"),
    ("NS", "North-South"),
    ("NT", "Notrump"),
    ("NV", "Not vulnerable"),
    ("NZB", "New Zealand Bridge"),
    ("O/E", "Odd-even discards"),
    ("OBAR", "Opponents bid and raise (balancing guideline)"),
    ("ODR", "Offence-to-defence ratio of a hand"),
    ("OL", "Opening lead"),
    ("OM", "The other major"),
    ("OPP", "Opponent, opponents"),
    ("OVC", "Overcall"),
    ("\xd6BV", "\xd6sterreichischer Bridgesportverband (Austrian Federation)"),
    ("P", "Pass"),
    ("PD", "Partner"),
    ("PEN", "Penalty (double)"),
    ("PH", "Passed hand"),
    ("PODI", "Pass = 0, double = 1 (over interference to 4NT)"),
    ("PP", "Procedural penalty"),
    ("PRE", "Preemptive"),
    ("PREC", "Precision (strong club system)"),
    ("PS", "Puppet Stayman"),
    ("PTS", "Points"),
    ("PZBS", "Polish Bridge Union"),
    ("Q", "Queen"),
    ("QT", "Quick trick: AK = 2, AQ = 1 1/2, A = 1, KQ = 1, Kx = 1/2"),
    ("R/W", "Unfavourable vulnerability (red against white)"),
    ("RDBL", "Redouble"),
    ("RESP", "Responder"),
    ("REV", "Reverse (opener's rebid in a higher-ranking new suit)"),
    ("RHO", "Right-hand opponent"),
    ("RKC", "Roman keycard"),
    ("RKCB", "Roman keycard Blackwood (five keycards)"),
    ("RONF", "Raise only non-forcing (responses to a weak two)"),
    ("ROPI", "Redouble = 0, pass = 1 (after a double of 4NT)"),
    ("RUS", "Rusinow leads (second highest from touching honours)"),
    ("S", "Spades (<s>)"),
    ("S/O", "Sign-off"),
    ("SA", "Standard American"),
    ("SAC", "Sacrifice (save)"),
    ("SAYC", "Standard American Yellow Card"),
    ("SB", "Semi-balanced (5-4-2-2 or 6-3-2-2 shape)"),
    ("SBF", "Svenska Bridgef\xf6rbundet (Swedish Bridge Federation)"),
    ("SBU", "Scottish Bridge Union"),
    ("SEF", "Standard English Foundation (EBU)"),
    ("SF", "Semi-forcing"),
    ("SI", "Slam interest"),
    ("SIG", "Signal"),
    ("SJS", "Strong jump shift"),
    ("SNT", "Strong notrump (1NT of 15-17 or 16-18 HCP)"),
    ("SOS", "SOS redouble (asks partner to choose another suit)"),
    ("SP", "Suit preference (signal)"),
    ("SPL", "Splinter bid"),
    ("SS", "Small slam"),
    ("SSGT", "Short-suit game try"),
    ("STD", "Standard (signals: high encourages)"),
    ("STR", "Strong"),
    ("T", "Ten (in hand diagrams)"),
    ("T/O", "Takeout (double)"),
    ("TBW", "The Bridge World (magazine)"),
    ("TD", "Tournament director"),
    ("TNT", "Total number of tricks"),
    ("TP", "Total points (high-card and distribution points)"),
    ("U2NT", "Unusual 2NT"),
    ("UDA", "Upside-down attitude (low encourages)"),
    ("UDC", "Upside-down count (low-high shows an even number)"),
    ("UDCA", "Upside-down count and attitude"),
    ("UI", "Unauthorized information"),
    ("UNBAL", "Unbalanced"),
    ("UNFAV", "Unfavourable vulnerability (vulnerable against not vulnerable)"),
    ("UPH", "Unpassed hand"),
    ("UVU", "Unusual over unusual"),
    ("VP", "Victory points"),
    ("VUL", "Vulnerable"),
    ("W/R", "Favourable vulnerability (white against red)"),
    ("WBF", "World Bridge Federation"),
    ("WJO", "Weak jump overcall"),
    ("WJR", "Weak jump raise"),
    ("WJS", "Weak jump shift"),
    ("WNT", "Weak notrump (1NT of about 12-14 HCP)"),
    ("x", "Any small card (below the honours)"),
    ("X", "Double"),
    ("XX", "Redouble"),
    ("XYZ", "XYZ convention (after three bids at the one level)"),
]


# ---------------------------------------------------------------------------
# convent.txt: (name, text); text is one paragraph or a list of paragraphs,
# a paragraph starting with "- " being a list item.

CONVENTIONS = [
    ("Astro",
     "A defence to an opposing 1NT opening: 2<c> shows hearts and a minor "
     "suit, 2<d> shows spades and another suit, each at least 5-4.  Advancer's "
     "bid of the next suit up is an artificial relay; his other bids are "
     "natural."),
    ("Attitude signals",
     "When following to partner's lead, a high card encourages (asks partner "
     "to continue the suit) and a low card discourages.  Upside-down attitude "
     "reverses this."),
    ("Benjamin twos",
     "A British opening scheme: 2<c> shows a strong two-bid (about eight "
     "playing tricks, usually in one long suit) and 2<d> shows any hand that "
     "is forcing to game; 2<h> and 2<s> are weak two bids.  Over 2<c>, the "
     "response 2<d> is a relay."),
    ("Bergen raises",
     "After a 1<h> or 1<s> opening in a five-card major system, responder "
     "jumps to 3<c> with four-card support and about 7-10 points (a "
     "constructive raise) and to 3<d> with four-card support and about 10-12 "
     "points (a limit raise).  A jump raise to three of the major is "
     "preemptive.  In Reverse Bergen the meanings of 3<c> and 3<d> are "
     "exchanged."),
    ("Blackwood",
     ["4NT asks partner how many aces he holds: 5<c> shows none or four, "
      "5<d> one, 5<h> two and 5<s> three.  After the reply, 5NT asks for "
      "kings in the same way (6<c> none, 6<d> one, ...) and promises that the "
      "partnership holds all the aces."]),
    ("Cappelletti (Hamilton)",
     "A defence to an opposing 1NT opening: double is for penalties; 2<c> "
     "shows a one-suited hand (advancer normally bids 2<d> to let overcaller "
     "name his suit); 2<d> shows both majors; 2<h> shows hearts and a minor; "
     "2<s> shows spades and a minor; 2NT shows both minors."),
    ("Checkback Stayman",
     "After opener's 1NT rebid (for example 1<d> - 1<h> - 1NT), responder's "
     "2<c> is artificial and asks opener for three-card support for "
     "responder's major or four cards in the other major.  Responder has at "
     "least invitational values."),
    ("Control-showing cue bids",
     "Once a trump suit is agreed in a forcing auction, a bid in a new suit "
     "above three of the trump suit is a slam try that shows a control in that "
     "suit.  Partnerships agree whether first-round controls (ace or void) "
     "are shown first or first- and second-round controls together "
     "(\"Italian\" style)."),
    ("Count signals",
     "When following to a suit led by declarer or partner, a high card "
     "followed by a lower one (high-low) shows an even number of cards and "
     "low-high shows an odd number.  Upside-down count reverses this."),
    ("Crawling Stayman",
     "After 1NT - 2<c> - 2<d>, responder's 2<h> shows a weak hand with both "
     "majors (at least 4-4) and asks opener to pass or to correct to 2<s>, "
     "whichever major is better for him."),
    ("Cue-bid raise",
     "After partner's overcall, advancer's cue bid of the opening bidder's "
     "suit shows support for partner's suit with at least the values of a "
     "limit raise.  A direct raise of the overcall is then weaker."),
    ("DEPO",
     "Replies to Blackwood or Roman Keycard Blackwood when an opponent "
     "overcalls the 4NT ask: double shows an even number of aces (or "
     "keycards), pass an odd number.  Used when the overcall takes away too "
     "much room for DOPI."),
    ("DONT (Disturb Opponents' Notrump)",
     "A defence to an opposing 1NT opening: double shows a one-suited hand "
     "(advancer bids 2<c>, and overcaller passes or bids his suit); 2<c> "
     "shows clubs and a higher suit; 2<d> shows diamonds and a major; 2<h> "
     "shows both majors; 2<s> shows spades alone."),
    ("DOPI",
     "Replies to Blackwood or Roman Keycard Blackwood when an opponent "
     "overcalls the 4NT ask: double shows the first step of the normal "
     "replies (0 aces or keycards), pass the second step (1), the cheapest "
     "bid the third step, and so on."),
    ("Drury",
     ["A passed hand's 2<c> response to partner's third- or fourth-seat "
      "opening of 1<h> or 1<s> shows support for the major and the values of "
      "a limit raise.  It protects against a light opening: in the original "
      "form opener rebids 2<d> to show a light hand.",
      "- Reverse Drury: opener rebids two of his major with a light hand; any "
      "other rebid shows a full opening bid.",
      "- Two-way Drury: 2<c> shows three-card support and 2<d> four-card "
      "support."]),
    ("Exclusion Blackwood",
     "A jump to the five level in a new suit (after trumps are agreed) asks "
     "partner for keycards outside that suit, in which the asker holds a "
     "void.  Replies are by steps: with 1430 steps the first step shows 1 or "
     "4 keycards, the second 3 or 0, the third 2 without the trump queen and "
     "the fourth 2 with it."),
    ("Feature ask",
     "After a weak two opening, responder's 2NT asks opener about his hand.  "
     "With a minimum opener rebids his suit at the three level; with a "
     "maximum he bids a side suit in which he holds a feature (an ace or "
     "king); with a solid suit he bids 3NT."),
    ("Fishbein",
     "A defence to preempts: over an opponent's opening three-bid, a bid of "
     "the next suit up is for takeout, and double is for penalties."),
    ("Fit-showing jumps",
     "In competition, or by a passed hand, a jump in a new suit shows a good "
     "suit of at least five cards together with support for partner's suit, "
     "to help partner judge how high to compete."),
    ("Flannery",
     "An opening 2<d> showing about 11-15 HCP with exactly four spades and "
     "five hearts.  Responder's 2NT asks for opener's shape and strength; "
     "2<h> and 2<s> are to play, and jumps to three of a major are "
     "invitational."),
    ("Forcing 1NT",
     "In two-over-one systems, a 1NT response to 1<h> or 1<s> is forcing "
     "for one round (about 6-12 points).  Opener must bid again, with a "
     "three-card minor if necessary.  With a semi-forcing 1NT opener may pass "
     "a balanced minimum."),
    ("Four-suit transfers",
     "After a 1NT opening, 2<d> and 2<h> are Jacoby transfers to hearts and "
     "spades, 2<s> is a transfer to clubs and 2NT (or 3<c> by agreement) a "
     "transfer to diamonds.  Opener may show a fit for the minor by bidding "
     "the step in between."),
    ("Fourth-best leads",
     "From a suit of four or more cards headed by an honour, lead the "
     "fourth-highest card.  Partner can then use the Rule of Eleven: the card "
     "led subtracted from eleven gives the number of higher cards held by the "
     "other three hands."),
    ("Fourth suit forcing",
     "When the partnership has bid three suits, responder's bid of the "
     "fourth suit is artificial and forcing (for one round or to game, by "
     "agreement).  It asks opener to describe his hand further, often to show "
     "a stopper in that suit for notrump."),
    ("Gambling 3NT",
     "An opening 3NT showing a long, solid minor suit (seven or more cards "
     "headed by the ace, king and queen) with no ace or king outside.  "
     "Responder passes with stoppers in the other suits; otherwise he bids "
     "4<c>, which opener passes or corrects to 4<d>."),
    ("Garbage Stayman",
     "Responder uses Stayman 2<c> over 1NT with a weak hand short in clubs, "
     "such as 4-4-4-1 or 4-4-5-0, intending to pass whatever opener rebids."),
    ("Gerber",
     "A jump to 4<c> over a natural notrump opening or rebid asks for aces: "
     "4<d> shows none or four, 4<h> one, 4<s> two and 4NT three.  A further "
     "5<c> asks for kings in the same way."),
    ("Good-bad 2NT",
     "When the opponents compete at the two level, a 2NT bid by our side is "
     "artificial: it asks partner to bid 3<c>, after which the 2NT bidder "
     "passes or bids his suit to compete with a weak hand.  A direct bid at "
     "the three level shows a good hand."),
    ("Grand slam force",
     "A bid of 5NT, when it is not preceded by 4NT, asks partner to bid a "
     "grand slam in the agreed suit if he holds two of the three top trump "
     "honours (ace, king, queen); otherwise he bids a small slam.  Many pairs "
     "use steps to show one top honour or none."),
    ("Help-suit game try",
     "After a major suit is raised (for example 1<s> - 2<s>), opener's bid "
     "of a new suit is a game try asking for help in that suit: responder "
     "bids game with honours there (such as Kxx or Qxx) or shortness, and "
     "signs off in three of the major with small cards."),
    ("Intermediate jump overcalls",
     "A single jump overcall (for example 1<c> - 2<h>) shows a good suit "
     "of six or more cards and about the values of an opening bid "
     "(roughly 12-16 HCP)."),
    ("Inverted minors",
     "After an opening of 1<c> or 1<d>, a single raise (1<d> - 2<d>) is "
     "forcing for one round and shows about 10 or more points, usually "
     "without a four-card major; a jump raise (1<d> - 3<d>) is preemptive."),
    ("Jacoby 2NT",
     ["After a 1<h> or 1<s> opening, responder's 2NT is a game-forcing raise "
      "with four-card support (three by some agreements).  Opener rebids:",
      "- a new suit at the three level: a singleton or void in that suit;",
      "- a new suit at the four level: a good five-card side suit;",
      "- three of the major: extra values, no shortness;",
      "- 3NT: a medium hand, no shortness;",
      "- four of the major: a minimum, no shortness."]),
    ("Jacoby transfers",
     "After a 1NT opening, 2<d> shows five or more hearts and 2<h> five or "
     "more spades; opener bids the next suit, so that the strong hand becomes "
     "declarer.  Responder may pass with a weak hand or bid on to invite or "
     "force to game.  With four-card support and a maximum opener may "
     "\"super-accept\" by jumping to three of the major.  Over 2NT, 3<d> and "
     "3<h> are the transfers."),
    ("Jordan 2NT (Truscott)",
     "When opener's one-level suit bid is doubled for takeout, responder's "
     "2NT shows a limit raise or better in opener's suit.  A redouble then "
     "shows about 10 or more HCP without a fit, and a jump raise is "
     "preemptive."),
    ("Kickback",
     "A keycard ask that replaces 4NT: four of the suit directly above the "
     "agreed trump suit (4<d> when clubs are trumps, 4<h> for diamonds, 4<s> "
     "for hearts, 4NT for spades) asks for keycards, so that the replies stay "
     "below five of the trump suit."),
    ("Kokish relay",
     "After a 2<c> opening and a 2<d> reply, opener's 2<h> is artificial and "
     "forces responder to bid 2<s>.  Opener then bids 2NT to show a "
     "balanced hand too strong for a 2NT rebid (about 25 points or more); "
     "any other bid shows a long heart suit."),
    ("Landy",
     "A defence to an opposing 1NT opening: 2<c> shows both majors (usually "
     "at least 5-4).  Advancer bids his better major, or 2<d> to ask "
     "overcaller to bid his longer major."),
    ("Last train to Clarksville",
     "When a trump suit is agreed and the only bid left below game is the "
     "one just below four of the trump suit, that bid is a general slam try "
     "and says nothing about a control in the suit bid."),
    ("Lavinthal (McKenney) discards",
     "A discard in one suit asks for a shift to one of the two other suits "
     "(in a suit contract, the two that are neither trumps nor the suit "
     "discarded): a high card asks for the higher-ranking of them, a low card "
     "for the lower-ranking."),
    ("Leaping Michaels",
     "Over an opponent's weak 2<h> or 2<s>, a jump to 4<c> or 4<d> shows at "
     "least five cards in that minor and five in the other major, with game "
     "values."),
    ("Lebensohl",
     ["When an opponent overcalls our 1NT opening at the two level, "
      "responder's 2NT is a relay that forces opener to bid 3<c>.  Responder "
      "then passes, signs off in a suit below the opponent's, or shows an "
      "invitational hand; a direct bid of a new suit at the three level is "
      "forcing.",
      "With \"fast denies\", a direct cue bid or 3NT denies a stopper in the "
      "opponent's suit, while the same bid after 2NT - 3<c> promises one.",
      "The same 2NT relay is used by advancer after partner doubles a weak "
      "two bid, to show a weak hand."]),
    ("Lebensohl after a reverse",
     "After opener's reverse (for example 1<d> - 1<s> - 2<h>), responder's "
     "2NT is artificial: it shows a weak hand and asks opener to bid 3<c>, "
     "after which responder passes or signs off.  Other bids by responder "
     "are forcing.  Some pairs use the lower of 2NT and the fourth suit "
     "instead."),
    ("Lightner double",
     "A double of a freely bid slam by the defender who is not on lead asks "
     "partner for an unusual opening lead, most often the first side suit "
     "bid by dummy.  It asks partner not to lead trumps or a suit that the "
     "defenders have bid."),
    ("Maximal double",
     "When our side has agreed a suit and the opponents compete in the suit "
     "ranking directly below it at the three level (1<h> - 2<d> - 2<h> - "
     "3<d>), a double by opener is a game try, because there is no room for "
     "any other try; three of our suit is then purely competitive."),
    ("Meckwell",
     "A defence to an opposing 1NT opening: double shows a one-suited minor "
     "hand or both majors; 2<c> shows clubs and a major; 2<d> shows diamonds "
     "and a major; 2<h> and 2<s> are natural."),
    ("Michaels cue bid",
     "A direct cue bid of the opening bidder's suit showing a two-suited "
     "hand of at least 5-5: over 1<c> or 1<d> both majors; over 1<h> or 1<s> "
     "the other major and a minor.  Over a major, advancer bids 2NT to ask "
     "for the minor."),
    ("Minor suit Stayman",
     "After a 1NT opening, 2<s> (in methods where it is not a transfer) asks "
     "opener for a four-card or longer minor.  Responder usually holds both "
     "minors with slam interest, or a weak hand that wants to play in a "
     "minor.  Opener bids 2NT with no four-card minor, otherwise 3<c> or "
     "3<d>."),
    ("Minorwood",
     "With a minor suit agreed in a forcing auction, four of that minor asks "
     "for keycards instead of 4NT, so that the replies stay low enough to stop "
     "in five of the minor."),
    ("MUD leads",
     "Middle-up-down: from three small cards lead the middle card, then play "
     "the higher card and then the lowest, so that partner can tell the "
     "holding from a doubleton or a longer suit."),
    ("Muiderberg",
     "A Dutch weak two: an opening of 2<h> or 2<s> shows exactly five cards "
     "in that major and at least four in a minor, with about 6-10 HCP.  "
     "Responder's 2NT asks for the minor and the strength."),
    ("Multi 2<d>",
     "An opening 2<d> showing a weak two bid in either major (in many "
     "versions also a strong hand of an agreed type).  Responder's 2<h> and "
     "2<s> are pass or correct: opener passes if his major has been bid and "
     "otherwise bids his own major.  Responder's 2NT asks opener to show his "
     "suit and strength."),
    ("Namyats",
     "An opening 4<c> shows a strong preempt in hearts and 4<d> the same in "
     "spades (a good suit of seven or eight cards, about eight to nine "
     "tricks); direct openings of 4<h> and 4<s> are weaker.  Responder bids "
     "game in opener's major to play, or the suit in between as a slam try."),
    ("Negative double",
     "After partner's opening and an overcall by RHO, responder's double is "
     "for takeout: it shows values and length in the unbid suits, especially "
     "an unbid major.  For example 1<c> - 1<s> - double shows four hearts.  "
     "Partners agree the level up to which doubles are negative."),
    ("New minor forcing",
     "After opener's 1NT rebid (for example 1<c> - 1<h> - 1NT), responder's "
     "bid of the unbid minor (here 2<d>) is artificial and forcing for one "
     "round, asking for three-card support for responder's major or four "
     "cards in the other major.  Responder has at least invitational values."),
    ("Odd-even discards",
     "With the first discard, an odd card (3, 5, 7, 9) encourages in the "
     "suit discarded; an even card (2, 4, 6, 8) discourages it, and a high "
     "even card asks for the higher-ranking of the other suits, a low even "
     "card for the lower-ranking."),
    ("Ogust",
     ["After a weak two opening, responder's 2NT asks for the strength of "
      "opener's hand and the quality of his suit:",
      "- 3<c>: minimum, poor suit;",
      "- 3<d>: minimum, good suit;",
      "- 3<h>: maximum, poor suit;",
      "- 3<s>: maximum, good suit;",
      "- 3NT: a solid suit (AKQxxx).",
      "Some partnerships exchange the meanings of 3<c> and 3<d>."]),
    ("PODI",
     "Replies to Blackwood or Roman Keycard Blackwood when an opponent "
     "overcalls the 4NT ask: pass shows the first step (0 aces or keycards), "
     "double the second step (1), the cheapest bid the third step, and so "
     "on."),
    ("Precision 2<d>",
     "In Precision, an opening 2<d> shows about 11-15 HCP and a three-suited "
     "hand short in diamonds, typically 4-4-1-4 or 4-4-0-5.  Responder's 2NT "
     "asks opener to describe his shape and strength."),
    ("Puppet Stayman",
     "Over a 2NT opening (or 1NT by agreement), 3<c> asks opener for a "
     "five-card major.  Opener bids 3<h> or 3<s> with five cards; 3<d> shows "
     "at least one four-card major, and responder then bids the major he does "
     "not hold, so that opener becomes declarer; 3NT denies a four- or "
     "five-card major."),
    ("Quantitative 4NT",
     "A raise of a natural notrump bid to 4NT (1NT - 4NT, 2NT - 4NT) does "
     "not ask for aces: it invites 6NT.  Opener passes with a minimum and "
     "bids the slam with a maximum."),
    ("Redouble after a takeout double",
     "When partner's opening bid is doubled for takeout, responder's "
     "redouble shows about 10 or more HCP, usually without a fit for "
     "partner, and suggests doubling the opponents for penalties."),
    ("Responsive double",
     "After partner's takeout double and a raise by RHO (1<h> - double - "
     "2<h> - double), advancer's double is for takeout and shows values "
     "with both unbid suits: over a major usually both minors, over a minor "
     "both majors.  Many pairs also play it after partner's overcall and a "
     "raise."),
    ("Reverse Drury",
     "A form of Drury in which opener rebids two of his major over the 2<c> "
     "response to show a light opening; every other rebid shows a full "
     "opening bid.  See Drury."),
    ("RKCB 1430 (Roman Keycard Blackwood)",
     ["With a trump suit agreed, 4NT asks for the five keycards: the four "
      "aces and the king of trumps.  Replies: 5<c> one or four keycards, "
      "5<d> three or none, 5<h> two without the trump queen, 5<s> two with "
      "the trump queen.",
      "After 5<c> or 5<d> the cheapest bid other than five of the trump suit "
      "asks for the trump queen.  5NT asks for kings and promises all the "
      "keycards."]),
    ("RKCB 0314 (3014)",
     "Roman Keycard Blackwood with the first two replies exchanged: 5<c> "
     "shows none or three keycards and 5<d> one or four; 5<h> and 5<s> show "
     "two keycards without and with the trump queen, as in 1430."),
    ("ROPI",
     "Replies to Blackwood or Roman Keycard Blackwood when an opponent "
     "doubles the 4NT ask: redouble shows the first step (0 aces or "
     "keycards), pass the second step (1), the cheapest bid the third step, "
     "and so on."),
    ("Rusinow leads",
     "From touching honours lead the second-highest card: the king from "
     "ace-king, the queen from king-queen, the jack from queen-jack and the "
     "ten from jack-ten.  Partnerships agree whether to use them against "
     "notrump as well as against suit contracts."),
    ("Sandwich 1NT",
     "When the opponents have bid two suits (1<c> - pass - 1<h>), a 1NT "
     "overcall by the fourth player shows the two unbid suits, like an "
     "unusual notrump."),
    ("Serious 3NT",
     "When a major suit is agreed at the three level in a game-forcing "
     "auction, 3NT is artificial and shows serious slam interest; a cue bid "
     "without 3NT first shows only mild interest.  In \"non-serious 3NT\" the "
     "meanings are exchanged."),
    ("Short club",
     "An opening 1<c> that may hold only two clubs (or fewer, by agreement) "
     "on a balanced hand without a five-card major, so that 1<d> promises "
     "at least four diamonds."),
    ("Short-suit game try",
     "After a major suit is raised, opener bids a suit in which he holds a "
     "singleton or void.  Responder bids game when his values are outside "
     "that suit and signs off when they are wasted in it."),
    ("Smith echo",
     "When declarer at notrump leads his own long suit early in the play, "
     "each defender's first card in that suit is a signal about the suit "
     "of the opening lead: a high card (an echo) by the leader's partner "
     "shows that he likes the lead; a high card by the opening leader asks "
     "partner to continue the suit.  Many pairs play the reverse."),
    ("Smolen",
     "After 1NT - 2<c> - 2<d>, responder with five cards in one major, four "
     "in the other and game values jumps to three of his four-card major: "
     "3<h> shows four hearts and five spades, 3<s> four spades and five "
     "hearts.  Opener bids the five-card major with three-card support, "
     "otherwise 3NT.  This makes the 1NT opener declarer."),
    ("Snapdragon double",
     "When three suits have been bid (1<c> - 1<d> - 1<h> - double), the "
     "fourth player's double shows the fifth suit, here spades, and "
     "tolerance for partner's suit."),
    ("SOS redouble",
     "A redouble of a penalty double of our low-level contract that asks "
     "partner to choose another suit (\"some other suit\").  Partners agree "
     "when a redouble is SOS and when it shows strength."),
    ("South African Texas",
     "After 1NT (or 2NT), 4<c> is a transfer to 4<h> and 4<d> a transfer to "
     "4<s>, leaving 4<h> and 4<s> natural.  See Texas transfers."),
    ("Splinter bids",
     "A double jump in a new suit (1<s> - 4<c>, 1<h> - 3<s>) shows a "
     "singleton or void in the suit bid, four-card support for partner's "
     "suit and enough values for game.  Partner, seeing no wasted values in "
     "the short suit, can judge whether to try for slam.  Opener may also "
     "splinter on his rebid."),
    ("Stayman",
     "After a 1NT opening, 2<c> asks for a four-card major.  Opener bids "
     "2<d> with no four-card major, 2<h> with four hearts (he may also hold "
     "four spades) and 2<s> with four spades but not four hearts.  Over a "
     "2NT opening, 3<c> is Stayman."),
    ("Strong 1<c>",
     "An artificial opening 1<c> showing a strong hand of any shape, about "
     "16 or more HCP in Precision; 1<d> is the negative response (about 0-7 "
     "HCP)."),
    ("Strong 2<c>",
     "An artificial opening 2<c> showing a very strong hand: about 22 or "
     "more HCP balanced, or about nine playing tricks.  2<d> is a waiting (or "
     "negative) reply; other replies are natural and positive."),
    ("Strong jump shifts",
     "A jump in a new suit by responder (1<d> - 2<s>) is forcing to game "
     "and shows a strong hand, about 17 or more points, with slam interest."),
    ("Suit-preference signals",
     "When attitude and count are clearly not needed, for example when "
     "partner gives a ruff, a high card asks for the higher-ranking of the "
     "other suits (trumps not counted) and a low card for the lower-ranking."),
    ("Support double",
     "After opener's one-level opening and responder's one-level suit "
     "response, when RHO overcalls (1<c> - 1<h> - 1<s>), opener's double "
     "shows exactly three-card support for responder's suit, and a raise "
     "shows four.  When RHO doubles instead, opener's redouble (the support "
     "redouble) shows three-card support."),
    ("Swiss",
     "After a major-suit opening, responder's jumps to 4<c> and 4<d> show a "
     "strong raise to game, stronger than a jump to four of the major.  The "
     "partnership agrees what each of the two bids shows (good trumps, "
     "controls or a side singleton)."),
    ("Takeout double",
     "A double of an opening bid of one of a suit that asks partner to bid "
     "an unbid suit.  It shows opening values with shortness in the "
     "opponent's suit and support for the unbid suits, or a hand too strong "
     "for a simple overcall."),
    ("Texas transfers",
     "After a 1NT or 2NT opening, a jump to 4<d> is a transfer to 4<h> and "
     "4<h> a transfer to 4<s>.  Responder shows a six-card or longer major "
     "with values for game; he passes the completed transfer or continues "
     "with a slam try."),
    ("Third and fifth best leads",
     "From a suit headed by an honour, lead the third-best card from four "
     "cards and the fifth-best (lowest) from five cards, so that partner can "
     "tell the length of the suit."),
    ("Two over one game forcing",
     "After an opening of 1<h> or 1<s> (and by many pairs also 1<d>), a "
     "non-jump response in a new suit at the two level (1<s> - 2<c>) is "
     "forcing to game.  A passed hand's two-over-one is not forcing to game."),
    ("Two-way checkback (two-way NMF)",
     "After opener's 1NT rebid, responder's 2<c> forces opener to bid 2<d>, "
     "after which responder passes, signs off or makes an invitational bid; "
     "responder's 2<d> is artificial and forcing to game."),
    ("Unusual 2NT",
     "A jump overcall of 2NT over an opening bid of one of a suit shows at "
     "least 5-5 in the two lowest unbid suits: over 1<h> or 1<s> the minors, "
     "over 1<c> diamonds and hearts, over 1<d> clubs and hearts."),
    ("Unusual over unusual",
     "After the opponents' unusual 2NT or Michaels cue bid over partner's "
     "opening, responder's cue bid of the lower of their suits shows the "
     "lower-ranking of the two other suits (partner's suit or the fourth "
     "suit) and a cue bid of the higher of their suits shows the "
     "higher-ranking one, each with at least invitational values: support "
     "for partner with a limit raise or better, the fourth suit with five or "
     "more cards.  Simple bids in the two other suits are competitive."),
    ("Upside-down count and attitude",
     "The reverse of standard signals: a low card encourages and a high card "
     "discourages; for count, low-high shows an even number of cards and "
     "high-low an odd number."),
    ("Walsh",
     "After a 1<c> opening, responder with a four-card major and less than "
     "game-forcing values bids the major ahead of a longer diamond suit, so "
     "a 1<d> response tends to deny a major.  Opener rebids 1NT with a "
     "balanced minimum even with four spades (1<c> - 1<h> - 1NT)."),
    ("Weak jump overcalls",
     "A single jump overcall (1<c> - 2<s>) shows a preemptive hand with a "
     "six-card suit and less than opening values, like a weak two bid."),
    ("Weak jump shifts",
     "A jump in a new suit by responder (1<c> - 2<h>) shows a weak hand, "
     "usually less than 6 points, with a six-card or longer suit; opener "
     "normally passes."),
    ("Weak two bids",
     "Openings of 2<d>, 2<h> and 2<s> showing a good six-card suit and "
     "about 5-11 HCP.  A new suit by responder is forcing by agreement, and "
     "2NT asks for more information (see Feature ask and Ogust)."),
    ("Western cue bid",
     "When our side is heading for 3NT, a cue bid of an opponent's suit "
     "asks partner to bid 3NT with a stopper in that suit."),
    ("Wolff sign-off",
     "After opener's jump rebid of 2NT (1<c> - 1<h> - 2NT), responder's "
     "3<c> forces opener to bid 3<d>; responder then passes or signs off in "
     "his own suit.  Other bids by responder are forcing."),
    ("Woolsey (Multi-Landy)",
     "A defence to an opposing 1NT opening: double shows a four-card major "
     "and a longer minor; 2<c> shows both majors; 2<d> shows one long major "
     "(Multi); 2<h> and 2<s> show five cards in that major and at least four "
     "in a minor."),
    ("XYZ",
     "After three bids at the one level by our side (1<c> - 1<h> - 1<s>, or "
     "a 1NT rebid), responder's 2<c> forces opener to bid 2<d>, after which "
     "responder passes or makes an invitational bid, and responder's 2<d> is "
     "artificial and forcing to game."),
]


# ---------------------------------------------------------------------------
# Building and checking

def build_files():
    """Return {file name: list of lines} of the four reference texts."""
    notices_width = MAX_COLUMNS - len(NOTICES_PREFIX) - 2
    return {
        "notices.txt": layout_document(NOTICES, notices_width),
        "tips.txt": layout_document(TIPS, MAX_COLUMNS - 2),
        "abbr.dat": [abbr + "\t" + meaning for abbr, meaning in ABBREVIATIONS],
        "convent.txt": layout_entries(CONVENTIONS, MAX_COLUMNS - 2),
    }


def encode(lines):
    return b"".join(line.encode(ENCODING) + EOL for line in lines)


def display_columns(line):
    """Width of a raw line in character cells, tabs expanded."""
    return len(line.expandtabs(TAB_STOP))


TAG = re.compile(r"<[cdhs]>", re.IGNORECASE)


def check_file(name, data):
    """Return a list of problems found in one file's bytes."""
    problems = []
    if not data.endswith(EOL):
        problems.append(name + ": does not end with CR LF")
    if data.count(b"\n") != data.count(EOL) or data.count(b"\r") != data.count(EOL):
        problems.append(name + ": has a line end other than CR LF")
    try:
        text = data.decode(ENCODING)  # strict: undefined bytes fail
    except UnicodeDecodeError as err:
        return problems + ["%s: byte outside windows-1252: %s" % (name, err)]
    lines = text[:-2].split("\r\n") if text.endswith("\r\n") else text.split("\r\n")
    prefix = NOTICES_PREFIX if name == "notices.txt" else ""
    for number, line in enumerate(lines, 1):
        where = "%s line %d" % (name, number)
        if any(ord(ch) < 32 and ch != "\t" for ch in line):
            problems.append(where + ": control character")
        if "\t" in line and name != "abbr.dat":
            problems.append(where + ": tab character")
        if line != line.rstrip():
            problems.append(where + ": trailing blanks")
        if line.startswith("|"):
            problems.append(where + ": would read as a comment header line")
        if display_columns(prefix + line) > MAX_COLUMNS:
            problems.append(where + ": wider than %d columns" % MAX_COLUMNS)
        if TAG.sub("", line).find("<") >= 0:
            problems.append(where + ": '<' that does not start a suit tag")
    if lines and lines[-1] == "":
        problems.append(name + ": ends with an empty line")

    if name == "abbr.dat":
        seen = set()
        for number, line in enumerate(lines, 1):
            fields = line.split("\t")
            if len(fields) != 2 or not fields[0] or not fields[1]:
                problems.append("abbr.dat line %d: not ABBR<TAB>meaning" % number)
                continue
            if len(fields[0]) >= TAB_STOP:
                problems.append("abbr.dat line %d: abbreviation too long" % number)
            if fields[0] in seen:
                problems.append("abbr.dat line %d: %s listed twice" % (number, fields[0]))
            seen.add(fields[0])
        if len(lines) < MIN_ABBREVIATIONS:
            problems.append("abbr.dat: %d abbreviations, want %d"
                            % (len(lines), MIN_ABBREVIATIONS))
    if name == "convent.txt":
        entries = [block.split("\r\n") for block in text[:-2].split("\r\n\r\n")]
        if any("" in entry or len(entry) < 2 for entry in entries):
            problems.append("convent.txt: an entry is not a name line and its text")
        titles = [entry[0] for entry in entries]
        if len(set(titles)) != len(titles):
            problems.append("convent.txt: a convention is listed twice")
        if len(entries) < MIN_CONVENTIONS:
            problems.append("convent.txt: %d conventions, want %d"
                            % (len(entries), MIN_CONVENTIONS))
    return problems


def check_directory(directory):
    problems = []
    expected = build_files()
    for name, lines in expected.items():
        path = os.path.join(directory, name)
        try:
            with open(path, "rb") as handle:
                data = handle.read()
        except OSError as err:
            problems.append("%s: %s" % (path, err))
            continue
        problems.extend(check_file(name, data))
        if data != encode(lines):
            problems.append("%s differs from what this script writes" % path)
    return problems


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    default_dir = os.path.join(here, os.pardir, "data", "data")
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--output", metavar="DIR", default=default_dir)
    parser.add_argument("--check", nargs="?", const=default_dir, metavar="DIR")
    args = parser.parse_args(argv)

    if args.check is not None:
        problems = check_directory(args.check)
        for problem in problems:
            print(problem, file=sys.stderr)
        if problems:
            return 1
        files = build_files()
        print("ok: %d abbreviations, %d conventions, %d notices lines, %d tips lines"
              % (len(files["abbr.dat"]),
                 len(CONVENTIONS),
                 len(files["notices.txt"]),
                 len(files["tips.txt"])))
        return 0

    files = build_files()
    problems = []
    for name, lines in files.items():
        problems.extend(check_file(name, encode(lines)))
    if problems:
        for problem in problems:
            print(problem, file=sys.stderr)
        return 1
    os.makedirs(args.output, exist_ok=True)
    for name, lines in files.items():
        with open(os.path.join(args.output, name), "wb") as handle:
            handle.write(encode(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
