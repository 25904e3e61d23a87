#pragma once

// The session's fixed texts (CP932, as the sources are compiled).
namespace tokeiya::text {

inline constexpr const char* kApplicationTitle = "Tokeiya";
inline constexpr const char* kTitleFormat = "とけい屋! ";  // followed by the user's name
inline constexpr const char* kAboutText =
    "とけい屋 Tokeiya Version 0.1\n勤怠・スケジュール・給与管理";

inline constexpr const char* kDatabaseCreateFailed = "データベース作成失敗";
inline constexpr const char* kDatabaseConnectFailed = "データベース接続失敗";
inline constexpr const char* kLoginParametersFailed = "ログインパラメータの取得に失敗しました。";
inline constexpr const char* kLoginFailed = "ログインに失敗しました。";
inline constexpr const char* kAskAdministrator =
    "ユーザー名とパスワードを管理者に確認してください。";
inline constexpr const char* kDatabaseError = "データベースエラー。";
// A database that a newer copy of the program has upgraded: this copy cannot read it.
inline constexpr const char* kDatabaseNewer =
    "このデータベースは新しい版のとけい屋用に更新されています。とけい屋を新しい版に更新して"
    "ください。";
// A server database the program may not upgrade itself; its administrator runs the tool.
inline constexpr const char* kDatabaseOlder =
    "このデータベースは古い版のままです。管理者が tokeiya-dbsetup で更新してください。";
inline constexpr const char* kWrongUserName = "ユーザー名が間違っています。";
inline constexpr const char* kWrongPassword = "パスワードが間違っています。";
inline constexpr const char* kRetiredUser =
    "退職したユーザーはログインできません。管理者に確認してください。";
inline constexpr const char* kScreenPackageMissing =
    "画面定義ファイル Tokeiya.ggd が見つかりません。画面は既定の表示になります。";
inline constexpr const char* kSessionEndKept =
    "終了時刻と退社時刻はこのコンピューターに保存しました。次回のログインで書き込みます。";

inline constexpr const char* kUserRowMissing = "ユーザーが見つからないため、保存できませんでした。";
inline constexpr const char* kOldPasswordWrong = "旧パスワードが違います。";
inline constexpr const char* kConfirmationDiffers = "新パスワードと確認用パスワードが違います。";
inline constexpr const char* kAskAdministratorForPassword =
    "管理者にパスワードを変更してもらってください。";
inline constexpr const char* kPasswordChanged = "パスワードを変更しました。";
// Why the password change opens at the administration account's login.
inline constexpr const char* kAdministratorPasswordEmpty =
    "管理者アカウントのパスワードが設定されていません。設定してください。";

// The administration account's name; logging in with it leaves the stored login alone.
inline constexpr const char* kAdministrationUser = "tokeiya";

}  // namespace tokeiya::text
