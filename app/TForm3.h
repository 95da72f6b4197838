#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace seaherald {

class Choosers;
class ColourPanel;
class SecondReceiverGroup;
class SettingsDialogHost;
class UpDownButtons;
class WatchGroup;

// The settings dialog: every control acts on the running receiver the moment it is operated;
// there is no OK or Cancel. Modeless over the main window; closing only hides it.
class TForm3 final : public QDialog {
  Q_OBJECT

 public:
  TForm3(SettingsDialogHost& host, Choosers& choosers, QWidget* mainWindow);

  // "設　　定": shows the dialog centred on the main window, or brings it forward when it is
  // already open.
  void ShowOrRaise();

  // Handlers, run by the controls (public so that a test can run them as a user would).
  void UpDown1Click(int position);
  void CheckBox1Click();
  void CheckBox4Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();
  void UpDown2Click(int position);
  void CheckBox2Click();
  void UpDown3Click(int position);
  void CheckBox3Click();
  void UpDown4Click(int position);
  void SpeedButton5Click();
  void Panel1Click();
  void Panel2Click();
  void Button1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildDecoderGroup();
  void BuildMessageGroup();
  void BuildLogGroup();
  void BuildFontGroup();
  void FitLongerCaptions(QWidget* group);
  void CopySettingsIn();
  void ShowDecodeModes();
  void UpdateEnabledStates();

  SettingsDialogHost& host_;
  Choosers& choosers_;
  QWidget* mainWindow_;

  UpDownButtons* upDown1_ = nullptr;
  UpDownButtons* upDown2_ = nullptr;
  UpDownButtons* upDown3_ = nullptr;
  UpDownButtons* upDown4_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* label7_ = nullptr;
  QLabel* label8_ = nullptr;
  QLabel* label9_ = nullptr;
  QLabel* label10_ = nullptr;
  QLabel* label11_ = nullptr;
  QLabel* label12_ = nullptr;
  QLabel* label13_ = nullptr;
  QLabel* label14_ = nullptr;
  QPushButton* button1_ = nullptr;
  QCheckBox* checkBox1_ = nullptr;
  QCheckBox* checkBox2_ = nullptr;
  QCheckBox* checkBox3_ = nullptr;
  QCheckBox* checkBox4_ = nullptr;  // the high-sensitivity receive path
  WatchGroup* watchGroup_ = nullptr;
  SecondReceiverGroup* secondReceiver_ = nullptr;
  QToolButton* speedButton1_ = nullptr;
  QToolButton* speedButton2_ = nullptr;
  QToolButton* speedButton3_ = nullptr;
  QToolButton* speedButton4_ = nullptr;
  QToolButton* speedButton5_ = nullptr;
  ColourPanel* panel1_ = nullptr;
  ColourPanel* panel2_ = nullptr;
};

}  // namespace seaherald
