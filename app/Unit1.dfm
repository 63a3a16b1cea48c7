object Form1: TForm1
  Left = 373
  Top = 243
  AutoScroll = False
  Caption = 'Settings'
  ClientHeight = 310
  ClientWidth = 290
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Icon.Data = @file('Project1.ico')
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object GroupBox1: TGroupBox
    Left = 0
    Top = 0
    Width = 289
    Height = 74
    Caption = 'Threats found'
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 0
    object RadioButton1: TRadioButton
      Left = 8
      Top = 24
      Width = 105
      Height = 17
      Caption = 'Always Ignore'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object RadioButton2: TRadioButton
      Left = 143
      Top = 24
      Width = 143
      Height = 17
      Caption = 'Clean found threats'
      TabOrder = 1
    end
    object RadioButton3: TRadioButton
      Left = 8
      Top = 48
      Width = 275
      Height = 17
      Caption = 'Copy to Quarantine(Backup before Cleanving)'
      TabOrder = 2
    end
    object RadioButton4: TRadioButton
      Left = 162
      Top = 8
      Width = 73
      Height = 17
      Caption = #20840#37096#24573#30053
      TabOrder = 3
      Visible = False
    end
  end
  object GroupBox2: TGroupBox
    Left = 0
    Top = 80
    Width = 289
    Height = 73
    Caption = 'When scan is finished'
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 1
    object RadioButton5: TRadioButton
      Left = 8
      Top = 19
      Width = 153
      Height = 17
      Caption = 'Return to main screen'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object RadioButton6: TRadioButton
      Left = 163
      Top = 19
      Width = 114
      Height = 17
      Caption = 'Restart Windows'
      TabOrder = 1
    end
    object RadioButton7: TRadioButton
      Left = 9
      Top = 43
      Width = 136
      Height = 17
      Caption = 'Shut Down Windows'
      TabOrder = 2
    end
    object RadioButton8: TRadioButton
      Left = 163
      Top = 43
      Width = 110
      Height = 17
      Caption = 'Logoff Windows'
      TabOrder = 3
    end
  end
  object GroupBox3: TGroupBox
    Left = 0
    Top = 153
    Width = 289
    Height = 121
    Caption = 'Advanced Scanning'
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 2
    object CheckBox1: TCheckBox
      Left = 10
      Top = 24
      Width = 97
      Height = 17
      Caption = 'Scan Menory'
      Checked = True
      State = cbChecked
      TabOrder = 0
    end
    object CheckBox2: TCheckBox
      Left = 135
      Top = 24
      Width = 105
      Height = 17
      Caption = 'Scan Registry'
      Checked = True
      State = cbChecked
      TabOrder = 1
    end
    object CheckBox3: TCheckBox
      Left = 10
      Top = 47
      Width = 169
      Height = 17
      Caption = 'Scan Program Files Only'
      Checked = True
      State = cbChecked
      TabOrder = 2
      OnClick = CheckBox3Click
    end
    object CheckBox4: TCheckBox
      Left = 10
      Top = 70
      Width = 113
      Height = 17
      Caption = 'Scan All Files'
      TabOrder = 3
      OnClick = CheckBox4Click
    end
    object CheckBox5: TCheckBox
      Left = 10
      Top = 92
      Width = 121
      Height = 17
      Caption = 'Advanced Heurist'
      Checked = True
      State = cbChecked
      TabOrder = 4
    end
  end
  object Button1: TButton
    Left = 47
    Top = 280
    Width = 75
    Height = 25
    Caption = 'Save'
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 3
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 159
    Top = 280
    Width = 75
    Height = 25
    Caption = 'Cancel'
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 4
    OnClick = Button2Click
  end
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcSystemMenu]
    Skin3rd = (
      'TTBDock=Panel'
      'TTBToolbar=Panel'
      'TImageEnMView=scrollbar'
      'TImageEnView=scrollbar'
      'TRzButton=button'
      'TRzCheckGroup=CheckGroup'
      'TRzRadioGroup=Radiogroup'
      'TRzRadioButton=Radiobutton'
      'TRzCheckBox=Checkbox'
      'TRzButtonEdit=Edit'
      'TRzDBRadioGroup=Radiogroup'
      'TRzDBRadioButton=Radiobutton'
      'TRzDBCheckBox=Checkbox'
      'TDBCheckboxEh=Checkbox'
      'TDBCheckboxEh=Checkbox'
      'TLMDCHECKBOX=Checkbox'
      'TLMDDBCHECKBOX=Checkbox'
      'TLMDRadiobutton=Radiobutton'
      'TLMDGROUPBOX=Panel'
      'TLMDSIMPLEPANEL=Panel'
      'TLMDDBCalendar=Panel'
      'TLMDButtonPanel=Panel'
      'TLMDLMDCalculator=Panel'
      'TLMDHeaderPanel=Panel'
      'TLMDTechnicalLine=Panel'
      'TLMDLMDClock=Panel'
      'TLMDTrackbar=trackbar'
      'TLMDListCombobox=combobox'
      'TLMDCheckListCombobox=combobox'
      'TLMDHeaderListCombobox=combobox'
      'TLMDImageCombobox=combobox'
      'TLMDColorCombobox=combobox'
      'TLMDFontCombobox=combobox'
      'TLMDFontSizeCombobox=combobox'
      'TLMDFontSizeCombobox=combobox'
      'TLMDPrinterCombobox=combobox'
      'TLMDDriveCombobox=combobox'
      'TLMDCalculatorComboBox=combobox'
      'TLMDTrackBarComboBox=combobox'
      'TLMDCalendarComboBox=combobox'
      'TLMDRADIOGROUP=radiogroup'
      'TLMDCheckGroup=CheckGroup'
      'TLMDDBRADIOGROUP=radiogroup'
      'TLMDDBCheckGroup=CheckGroup'
      'TLMDEDIT=Edit'
      'TLMDMASKEDIT=Edit'
      'TLMDBROWSEEDIT=Edit'
      'TLMDEXTSPINEDIT=Edit'
      'TLMDCALENDAREDIT=Edit'
      'TLMDFILEOPENEDIT=Edit'
      'TLMDFILESAVEEDIT=Edit'
      'TLMDCOLOREDIT=Edit'
      'TLMDDBEDIT=Edit'
      'TLMDDBMASKEDIT=Edit'
      'TLMDDBEXTSPINEDIT=Edit'
      'TLMDDBSPINEDIT=Edit'
      'TLMDDBEDITDBLookup=Edit'
      'TLMDEDITDBLookup=Edit'
      'TDBLookupCombobox=Combobox'
      'TWWDBCombobox=Combobox'
      'TWWDBLookupCombo=Combobox'
      'TWWDBCombobox=Combobox'
      'TWWKeyCombo=Combobox'
      'TWWTempKeyCombo=combobox'
      'TWWDBDateTimePicker=Combobox'
      'TWWRADIOGROUP=radiogroup'
      'TDXDBPICKEDIT=Combobox'
      'TDXDBCALCEDIT=Combobox'
      'TDXDBIMAGEEDIT=Combobox'
      'TDXDBPOPUPEDIT=Combobox'
      'TDXDBEXTLOOKUPEDIT=Combobox'
      'TDXDBLOOKUPEDIT=Combobox'
      'TDXDBDATEEDIT=Combobox'
      'TDXDATEEDIT=Combobox'
      'TDXPICKEDIT=Combobox'
      'TDXPOPUPEDIT=Combobox'
      'TDXDBCURRENCYEDIT=Edit'
      'TDXDBEDIT=Edit'
      'TDXDBMASKEDIT=Edit'
      'TDXDBHYPERLINKEDIT=Edit'
      'TDXEDIT=Edit'
      'TDXMASKEDIT=Edit'
      'TWWDBEDIT=Edit'
      'TDXBUTTONEDIT=Edit'
      'TDXCURRENCYEDIT=Edit'
      'TDXHYPERLINKEDIT=Edit'
      'TOVCPICTUREFIELD=Edit'
      'TOVCDBPICTUREFIELD=Edit'
      'TOVCSLIDEREDIT=Edit'
      'TOVCDBSLIDEREDIT=Edit'
      'TOVCSIMPLEFIELD=Edit'
      'TOVCDBSIMPLEFIELD=Edit'
      'TO32DBFLEXEDIT=Edit'
      'TOVCNUMERICFIELD=Edit'
      'TOVCDBNUMERICFIELD=Edit')
    SkinStore = '(Good)'
    SkinFormtype = sfMainform
    Version = '2.62.5.26'
    MenuUpdate = True
    SkinStream = @file('default.skin')
  end
end
