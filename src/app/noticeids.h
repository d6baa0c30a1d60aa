#pragma once
// Resource numbers and control ids of the notice dialogs, shared by their resource
// script and the code: plain macros, as the resource compiler reads this file too.

// The notices by resource number.
#define NOTICE_BROWSER_SETTING 116
#define NOTICE_PERMISSIONS 121
#define NOTICE_RELEASE_380 1049
#define NOTICE_RELEASE_395 1057
#define NOTICE_CONVERSION 123
#define NOTICE_MAIL_CLIENT 1071

// Buttons. OK and Cancel are the dialog manager's own 1 and 2 (Enter and Escape
// send them when no button is the default).
#define NOTICE_OK 1
#define NOTICE_CANCEL 2
#define NOTICE_YES 6
#define NOTICE_NO 7
#define NOTICE_HELP 9
#define NOTICE_DETAILS 1056
#define NOTICE_CONTINUE 1069
#define NOTICE_ABORT 1070

// The browser-setting notice's one text.
#define NOTICE_BROWSER_TEXT 1044

// Group boxes and the first of each notice's consecutive texts.
#define NOTICE_RELEASE_380_GROUP 1050
#define NOTICE_RELEASE_380_TEXT 1051
#define NOTICE_GROUP 1058
#define NOTICE_RELEASE_395_TEXT 1059
#define NOTICE_CONVERSION_TEXT 1065
#define NOTICE_MAIL_CLIENT_TEXT 1072
