#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QCloseEvent>
#include <algorithm>
#include <QFile>

#include "build_list_of_elem.h"
#include "design_wnd.h"
#include "form_fields.h"
#include "main_params.h"
#include "media.h"
#include "platform.h"
#include "session_state.h"
#include "shared_params.h"
#include "window_common.h"

using formfields::fieldText;
using formfields::fieldValue;

namespace {
// Input indices of the completion flags shared::CH.
enum Input {
    FileInput = 0,
    ApertureInput = 1,
    CurvatureInput = 2,
    FrequencyInput = 3,
    ElementInput = 4,
    DensityInput = 5,
    SoundSpeedInput = 6,
    HoleInput = 7,
    FocusYInput = 8,
    FocusZInput = 9,
    PressureInput = 10,
    IntensityInput = 11,
    FocusXInput = 12
};

const QSize designSize(823, 652);
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    window::setOwner(&w1, this);
    shared::CH.fill(false, shared::kmax);

    using formfields::Sign;
    for (QLineEdit *field :
         {ui->lineEdit, ui->lineEdit_2, ui->lineEdit_4, ui->lineEdit_5, ui->lineEdit_9, ui->lineEdit_7, ui->lineEdit_6,
          ui->lineEdit_12, ui->lineEdit_10, ui->lineEdit_13, ui->lineEdit_14})
        formfields::setupNumberField(field, Sign::Unsigned);
    formfields::setupNumberField(ui->lineEdit_3, Sign::Signed);
    formfields::setupNumberField(ui->lineEdit_11, Sign::Signed);
    for (const media::Medium &m : media::presets())
        ui->comboBox->addItem(QString::fromUtf8(m.label));

    window::setIconFromAppDir(this);
    setWindowTitle(QString::fromUtf8("Ввод параметров"));

    const QSize size = window::scaledSize(designSize, true);
    setMinimumSize(size);
    setGeometry(QRect(geometry().topLeft(), size));
    moveToCenter();
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::moveToCenter()
{
    window::moveToCenter(this);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    window::confirmExit(this, event);
}

// ---- Refill --------------------------------------------------------------------------------

void MainWindow::not_first()
{
    // Each setText raises the field's slot as typing would: the source field of the current mode
    // recomputes the other source value.
    ui->lineEdit->setText(fieldText(shared::A * 100));
    ui->lineEdit_2->setText(fieldText(shared::R * 100.0));
    ui->lineEdit_4->setText(fieldText(shared::nu / 1000000));
    ui->lineEdit_5->setText(fieldText(shared::r * 100));
    ui->lineEdit_6->setText(fieldText(shared::c));
    ui->lineEdit_7->setText(fieldText(shared::ro));
    // Only a choice of the user fills the medium's fields; this one keeps the values shown.
    ui->comboBox->setCurrentIndex(shared::medium);
    ui->lineEdit_14->setText(fieldText(shared::pvs));
    ui->lineEdit_9->setText(fieldText(shared::rotv * 100));
    ui->lineEdit_8->setText(shared::name);
    ui->lineEdit_10->setText(fieldText(shared::initpres / 1000000));
    ui->lineEdit_13->setText(fieldText(shared::initintens / 10000));
    ui->pushButton_2->setEnabled(true);
    ui->lineEdit_3->setText(fieldText(shared::xF * 100));
    ui->lineEdit_11->setText(fieldText(shared::yF * 100));
    ui->lineEdit_12->setText(fieldText(shared::zF * 100));
    shared::CH.fill(true, shared::kmax);
}

// ---- Completion and derivation -------------------------------------------------------------

void MainWindow::countComplete()
{
    shared::k = int(std::count(shared::CH.cbegin(), shared::CH.cend(), true));
    ui->pushButton_2->setEnabled(shared::k == shared::kmax);
}

void MainWindow::markFilled(int index, const QString &text)
{
    shared::CH[index] = !text.isEmpty();
    countComplete();
}

void MainWindow::deriveSource()
{
    const QString density = ui->lineEdit_7->text();
    const QString soundSpeed = ui->lineEdit_6->text();
    // Writing the derived field raises its own slot, which derives the same text again; an
    // unchanged text raises nothing, so the chain stops there.
    if (ui->radioButton->isChecked()) {
        const QString pressure = ui->lineEdit_10->text();
        if (density.isEmpty() || pressure.isEmpty() || soundSpeed.isEmpty()) {
            ui->lineEdit_13->setText(" ");
        } else {
            shared::ro = fieldValue(density);
            shared::c = fieldValue(soundSpeed);
            shared::initpres = fieldValue(pressure) * 1000000;
            shared::initintens = mainparams::intensityFromPressure(shared::initpres, shared::ro, shared::c);
            ui->lineEdit_13->setText(fieldText(shared::initintens / 10000));
        }
    } else if (ui->radioButton_2->isChecked()) {
        const QString intensity = ui->lineEdit_13->text();
        if (density.isEmpty() || intensity.isEmpty() || soundSpeed.isEmpty()) {
            ui->lineEdit_10->setText(" ");
        } else {
            shared::ro = fieldValue(density);
            shared::c = fieldValue(soundSpeed);
            shared::initintens = fieldValue(intensity) * 10000;
            shared::initpres = mainparams::pressureFromIntensity(shared::initintens, shared::ro, shared::c);
            ui->lineEdit_10->setText(fieldText(shared::initpres / 1000000));
        }
    }
}

// ---- Fields --------------------------------------------------------------------------------

void MainWindow::on_lineEdit_textChanged(const QString &text)
{
    markFilled(ApertureInput, text);
}

void MainWindow::on_lineEdit_2_textChanged(const QString &text)
{
    markFilled(CurvatureInput, text);
}

void MainWindow::on_lineEdit_3_textChanged(const QString &text)
{
    markFilled(FocusXInput, text);
}

void MainWindow::on_lineEdit_4_textChanged(const QString &text)
{
    markFilled(FrequencyInput, text);
}

void MainWindow::on_lineEdit_5_textChanged(const QString &text)
{
    markFilled(ElementInput, text);
}

void MainWindow::on_lineEdit_6_textChanged(const QString &text)
{
    markFilled(SoundSpeedInput, text);
    deriveSource();
    countComplete();
}

void MainWindow::on_lineEdit_7_textChanged(const QString &text)
{
    markFilled(DensityInput, text);
    deriveSource();
    countComplete();
}

void MainWindow::on_lineEdit_8_textChanged(const QString &text)
{
    if (text.isEmpty()) {
        shared::CH[FileInput] = false;
    } else if (text.endsWith(".txt")) {
        shared::CH[FileInput] = true;
        shared::name = text;
    } else {
        shared::CH[FileInput] = false;
    }
    countComplete();
}

void MainWindow::on_lineEdit_9_textChanged(const QString &text)
{
    markFilled(HoleInput, text);
}

void MainWindow::on_lineEdit_10_textChanged(const QString &text)
{
    deriveSource();
    markFilled(PressureInput, text);
}

void MainWindow::on_lineEdit_11_textChanged(const QString &text)
{
    markFilled(FocusYInput, text);
}

void MainWindow::on_lineEdit_12_textChanged(const QString &text)
{
    markFilled(FocusZInput, text);
}

void MainWindow::on_lineEdit_13_textChanged(const QString &text)
{
    deriveSource();
    markFilled(IntensityInput, text);
}

// ---- Medium ------------------------------------------------------------------------------

void MainWindow::on_comboBox_activated(int index)
{
    // A preset fills the three fields; whatever the user types afterwards is what counts.
    const media::Medium &m = media::preset(index);
    ui->lineEdit_7->setText(fieldText(m.density));
    ui->lineEdit_6->setText(fieldText(m.soundSpeed));
    ui->lineEdit_14->setText(fieldText(m.absorption));
}

// ---- Source mode ---------------------------------------------------------------------------

void MainWindow::on_radioButton_clicked()
{
    if (ui->radioButton->isChecked()) {
        ui->lineEdit_10->setEnabled(true);
        ui->lineEdit_13->setEnabled(false);
    }
}

void MainWindow::on_radioButton_2_clicked()
{
    if (ui->radioButton_2->isChecked()) {
        ui->lineEdit_13->setEnabled(true);
        ui->lineEdit_10->setEnabled(false);
    }
}

// ---- Buttons -------------------------------------------------------------------------------

void MainWindow::on_pushButton_clicked()
{
    shared::Elem.clear();
    shared::name.clear();
    shared::name = platform::getOpenFileName(this, QString(), QString(), QString());
    if (!shared::name.isEmpty()) {
        ui->lineEdit_8->setText(shared::name);
        shared::CH[FileInput] = shared::name.endsWith(".txt");
    } else if (ui->lineEdit_8->text().isEmpty()) {
        shared::CH[FileInput] = false;
    } else {
        // Cancelled: a path typed before stays the element file.
        shared::name = ui->lineEdit_8->text();
        shared::CH[FileInput] = shared::name.endsWith(".txt");
    }
    countComplete();
}

// The designer works on the array as typed here; its chosen layout comes back as the element file.
void MainWindow::on_pushButton_design_clicked()
{
    if (m_design) {
        m_design->raise();
        m_design->activateWindow();
        return;
    }
    layoutdesign::MainFields fields{ui->lineEdit->text(),   ui->lineEdit_2->text(),
                                    ui->lineEdit_4->text(), ui->lineEdit_5->text(),
                                    ui->lineEdit_9->text(), ui->lineEdit_7->text(),
                                    ui->lineEdit_6->text(), float(fieldValue(ui->lineEdit_14->text()))};
    layoutdesign::DesignArray array;
    const QString error = layoutdesign::readMainFields(fields, &array);
    if (!error.isEmpty()) {
        platform::information(this, mainparams::errorTitle, error);
        return;
    }
    auto *design = new Design_wnd(array, ui->lineEdit_8->text(), this);
    connect(design, &Design_wnd::layoutChosen, this, [this](const QString &path) { ui->lineEdit_8->setText(path); });
    m_design = design;
    design->show();
}

bool MainWindow::writeSharedFromForm()
{
    shared::name = ui->lineEdit_8->text();
    const bool fromSession = sessionstate::holdsElementsOf(shared::name);
    if (!fromSession) {
        QFile file(shared::name);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            platform::information(this, mainparams::errorTitle, mainparams::noFileText);
            return false;
        }
    }

    // The values are written before the checks: a failing check leaves them in place.
    shared::A = fieldValue(ui->lineEdit->text()) / 100;
    shared::r = fieldValue(ui->lineEdit_5->text()) / 100;
    shared::R = float(fieldValue(ui->lineEdit_2->text()) / 100);
    shared::nu = fieldValue(ui->lineEdit_4->text()) * 1000000;
    shared::c = fieldValue(ui->lineEdit_6->text());
    shared::ro = fieldValue(ui->lineEdit_7->text());
    shared::rotv = fieldValue(ui->lineEdit_9->text()) / 100;
    // An empty absorption field is the lossless medium its placeholder shows.
    shared::pvs = float(fieldValue(ui->lineEdit_14->text()));
    shared::medium = ui->comboBox->currentIndex();
    shared::xF = fieldValue(ui->lineEdit_3->text()) / 100;
    shared::yF = fieldValue(ui->lineEdit_11->text()) / 100;
    shared::zF = fieldValue(ui->lineEdit_12->text()) / 100;
    shared::initpres = fieldValue(ui->lineEdit_10->text()) * 1000000;
    shared::xF_is_set = shared::yF_is_set = shared::zF_is_set = true;

    if (!fromSession && !build_list_of_elem(shared::name)) {
        platform::information(this, mainparams::errorTitle, mainparams::badElementsText);
        return false;
    }
    return true;
}

void MainWindow::on_pushButton_2_clicked()
{
    if (!writeSharedFromForm())
        return;

    const QString geometryError = mainparams::geometryError(shared::A, shared::R, shared::r, shared::rotv);
    if (!geometryError.isEmpty()) {
        platform::information(this, mainparams::errorTitle, geometryError);
        return;
    }

    window::moveOn(this, &w1);
}

void MainWindow::on_pushButton_6_clicked()
{
    if (sessionstate::openInto(this))
        not_first();
}

void MainWindow::on_pushButton_7_clicked()
{
    // The session holds what Continue would take: a form whose element file cannot be read is
    // corrected first.
    if (writeSharedFromForm())
        sessionstate::saveAs(this);
}

void MainWindow::on_pushButton_3_clicked()
{
    if (!platform::openDocument(platform::appDir() + "/help.pdf"))
        platform::information(this, mainparams::errorTitle, mainparams::noPdfText);
}

void MainWindow::on_pushButton_4_clicked()
{
    platform::information(this, mainparams::aboutTitle, mainparams::aboutText());
}

void MainWindow::on_pushButton_5_clicked()
{
    mainparams::setExampleArray();
    shared::medium = media::water;
    shared::pvs = 0;
    if (ui->radioButton->isChecked())
        shared::initpres = 250000;
    else
        shared::initintens = 20833;
    shared::xF = 0;
    shared::yF = 0;
    shared::zF = shared::R;
    shared::name = platform::appDir() + mainparams::exampleElementFile;

    // The example fills the form exactly as a refill does.
    not_first();

    platform::information(this, mainparams::exampleTitle, mainparams::exampleText());
}
