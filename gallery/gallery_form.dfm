object GalleryForm: TGalleryForm
  Left = 200
  Top = 120
  AutoScroll = False
  Caption = 'Skin Gallery'
  ClientHeight = 480
  ClientWidth = 640
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Icon.Data = @file('Gallery.ico')
  Menu = MainMenu1
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
  object Pages: TPageControl
    Left = 0
    Top = 0
    Width = 640
    Height = 461
    ActivePage = ButtonsPage
    TabOrder = 0
    OnChange = PagesChange
    object ButtonsPage: TTabSheet
      Caption = 'Buttons'
      PopupMenu = ButtonsMenu
      object PushGroup: TGroupBox
        Left = 8
        Top = 8
        Width = 200
        Height = 145
        Caption = 'Push buttons'
        TabOrder = 0
        object PushButton: TButton
          Left = 16
          Top = 24
          Width = 168
          Height = 25
          Caption = '&Push me'
          TabOrder = 0
          OnClick = ButtonClick
        end
        object GlyphButton: TBitBtn
          Left = 16
          Top = 58
          Width = 168
          Height = 30
          Caption = '&Favourite'
          TabOrder = 1
          Glyph.Data = @file('star.bmp')
          OnClick = ButtonClick
        end
        object DisabledButton: TButton
          Left = 16
          Top = 97
          Width = 168
          Height = 25
          Caption = 'Disabled'
          Enabled = False
          TabOrder = 2
        end
      end
      object SpeedPanel: TPanel
        Left = 8
        Top = 163
        Width = 200
        Height = 41
        BevelOuter = bvLowered
        TabOrder = 1
        object AlignLeftButton: TSpeedButton
          Left = 8
          Top = 8
          Width = 25
          Height = 25
          GroupIndex = 1
          Down = True
          Glyph.Data = @file('align-left.bmp')
          OnClick = AlignClick
        end
        object AlignCentreButton: TSpeedButton
          Left = 34
          Top = 8
          Width = 25
          Height = 25
          GroupIndex = 1
          Glyph.Data = @file('align-centre.bmp')
          OnClick = AlignClick
        end
        object AlignRightButton: TSpeedButton
          Left = 60
          Top = 8
          Width = 25
          Height = 25
          GroupIndex = 1
          Glyph.Data = @file('align-right.bmp')
          OnClick = AlignClick
        end
        object BoldButton: TSpeedButton
          Left = 96
          Top = 8
          Width = 25
          Height = 25
          Caption = 'B'
          GroupIndex = 2
          AllowAllUp = True
          Font.Charset = ANSI_CHARSET
          Font.Color = clWindowText
          Font.Height = -11
          Font.Name = 'MS Sans Serif'
          Font.Style = [fsBold]
          ParentFont = False
        end
      end
      object AlignLabel: TLabel
        Left = 8
        Top = 216
        Width = 200
        Height = 13
        Caption = 'Alignment: left'
      end
      object CheckGroup: TGroupBox
        Left = 216
        Top = 8
        Width = 200
        Height = 105
        Caption = 'Check boxes'
        TabOrder = 2
        object CheckedBox: TCheckBox
          Left = 16
          Top = 24
          Width = 168
          Height = 17
          Caption = 'Checked'
          Checked = True
          State = cbChecked
          TabOrder = 0
        end
        object UncheckedBox: TCheckBox
          Left = 16
          Top = 48
          Width = 168
          Height = 17
          Caption = 'Unchecked'
          TabOrder = 1
        end
        object DisabledBox: TCheckBox
          Left = 16
          Top = 72
          Width = 168
          Height = 17
          Caption = 'Disabled'
          Checked = True
          Enabled = False
          State = cbChecked
          TabOrder = 2
        end
      end
      object RadioGroup: TGroupBox
        Left = 216
        Top = 122
        Width = 200
        Height = 105
        Caption = 'Radio buttons'
        TabOrder = 3
        object FirstRadio: TRadioButton
          Left = 16
          Top = 24
          Width = 168
          Height = 17
          Caption = 'First choice'
          Checked = True
          TabOrder = 0
          TabStop = True
        end
        object SecondRadio: TRadioButton
          Left = 16
          Top = 48
          Width = 168
          Height = 17
          Caption = 'Second choice'
          TabOrder = 1
        end
        object DisabledRadio: TRadioButton
          Left = 16
          Top = 72
          Width = 168
          Height = 17
          Caption = 'Disabled choice'
          Enabled = False
          TabOrder = 2
        end
      end
      object RaisedPanel: TPanel
        Left = 424
        Top = 8
        Width = 200
        Height = 105
        Caption = 'A raised panel'
        TabOrder = 4
      end
      object LoweredPanel: TPanel
        Left = 424
        Top = 122
        Width = 200
        Height = 105
        BevelOuter = bvLowered
        Caption = 'A lowered panel'
        TabOrder = 5
      end
      object ClickLabel: TLabel
        Left = 8
        Top = 240
        Width = 408
        Height = 13
        Caption = 'Nothing clicked yet.'
      end
      object HintLabel: TLabel
        Left = 8
        Top = 264
        Width = 408
        Height = 13
        Caption = 'Right-click the page for its context menu.'
      end
      object TransitionsGroup: TGroupBox
        Left = 8
        Top = 288
        Width = 616
        Height = 120
        Caption = 'Transitions'
        TabOrder = 6
        object TransitionsLabel: TLabel
          Left = 12
          Top = 22
          Width = 592
          Height = 13
          Caption = 'This skin declares no [Animation]: every change of look is at once.'
        end
        object TransitionsHint: TLabel
          Left = 12
          Top = 44
          Width = 592
          Height = 13
          Caption = 'Hover, press and check the controls above, or the caption buttons, tabs, bars and menu bar.'
        end
        object SlowMotionBox: TCheckBox
          Left = 12
          Top = 72
          Width = 300
          Height = 17
          Caption = 'Slow m&otion (ten times longer)'
          TabOrder = 0
          OnClick = SlowMotionClick
        end
      end
    end
    object ListsPage: TTabSheet
      Caption = 'Lists'
      object NumberList: TListBox
        Left = 8
        Top = 8
        Width = 140
        Height = 200
        TabOrder = 0
      end
      object LeftScrollList: TLeftScrollListBox
        Left = 8
        Top = 216
        Width = 140
        Height = 180
        TabOrder = 1
      end
      object TextMemo: TMemo
        Left = 156
        Top = 8
        Width = 220
        Height = 200
        ScrollBars = ssBoth
        WordWrap = False
        TabOrder = 2
      end
      object RowView: TListView
        Left = 384
        Top = 8
        Width = 240
        Height = 200
        ViewStyle = vsReport
        RowSelect = True
        GridLines = True
        TabOrder = 3
        Columns = <
          item
            Caption = 'Row'
            Width = 50
          end
          item
            Caption = 'Name'
            Width = 100
          end
          item
            Caption = 'Value'
            Width = 60
            Alignment = taRightJustify
          end>
      end
      object HorizontalBar: TScrollBar
        Left = 156
        Top = 220
        Width = 300
        Height = 17
        Kind = sbHorizontal
        Max = 100
        LargeChange = 10
        TabOrder = 4
        OnChange = HorizontalBarChange
      end
      object HorizontalLabel: TLabel
        Left = 156
        Top = 244
        Width = 200
        Height = 13
        Caption = 'Horizontal: 0'
      end
      object VerticalBar: TScrollBar
        Left = 470
        Top = 216
        Width = 17
        Height = 180
        Kind = sbVertical
        Max = 100
        LargeChange = 10
        TabOrder = 5
        OnChange = VerticalBarChange
      end
      object VerticalLabel: TLabel
        Left = 496
        Top = 220
        Width = 120
        Height = 13
        Caption = 'Vertical: 0'
      end
    end
    object TextPage: TTabSheet
      Caption = 'Text'
      object EditLabel: TLabel
        Left = 8
        Top = 12
        Width = 90
        Height = 13
        Caption = 'Edit:'
      end
      object PlainEdit: TEdit
        Left = 110
        Top = 8
        Width = 200
        Height = 21
        Text = 'Type here'
        TabOrder = 0
      end
      object ReadOnlyLabel: TLabel
        Left = 8
        Top = 42
        Width = 90
        Height = 13
        Caption = 'Read-only edit:'
      end
      object ReadOnlyEdit: TEdit
        Left = 110
        Top = 38
        Width = 200
        Height = 21
        ReadOnly = True
        Text = 'This text cannot be changed'
        TabOrder = 1
      end
      object SpinLabel: TLabel
        Left = 8
        Top = 72
        Width = 90
        Height = 13
        Caption = 'Spin edit:'
      end
      object NumberSpin: TSpinEdit
        Left = 110
        Top = 68
        Width = 80
        Height = 22
        MaxValue = 100
        MinValue = 0
        Value = 10
        TabOrder = 2
      end
      object DropDownLabel: TLabel
        Left = 8
        Top = 102
        Width = 90
        Height = 13
        Caption = 'Drop-down:'
      end
      object DropDownCombo: TComboBox
        Left = 110
        Top = 98
        Width = 200
        Height = 21
        Style = csDropDown
        DropDownCount = 8
        TabOrder = 3
        Text = 'Mercury'
        Items.Strings = (
          'Mercury'
          'Venus'
          'Earth'
          'Mars'
          'Jupiter'
          'Saturn'
          'Uranus'
          'Neptune'
          'Ceres'
          'Pluto')
      end
      object DropDownListLabel: TLabel
        Left = 8
        Top = 132
        Width = 90
        Height = 13
        Caption = 'Drop-down list:'
      end
      object DropDownListCombo: TComboBox
        Left = 110
        Top = 128
        Width = 200
        Height = 21
        Style = csDropDownList
        DropDownCount = 8
        ItemIndex = 0
        TabOrder = 4
        Items.Strings = (
          'January'
          'February'
          'March'
          'April'
          'May'
          'June'
          'July'
          'August'
          'September'
          'October')
      end
      object DateLabel: TLabel
        Left = 8
        Top = 162
        Width = 90
        Height = 13
        Caption = 'Date:'
      end
      object DatePicker: TDateTimePicker
        Left = 110
        Top = 158
        Width = 200
        Height = 21
        Kind = dtkDate
        Date = '2026-06-15'
        TabOrder = 5
      end
      object SectionTabs: TTabSet
        Left = 8
        Top = 200
        Width = 400
        Height = 21
        Tabs.Strings = (
          'Summary'
          'Details'
          'History'
          'Notes')
        TabIndex = 0
        OnChange = SectionTabsChange
      end
      object SectionLabel: TLabel
        Left = 8
        Top = 230
        Width = 300
        Height = 13
        Caption = 'Section: Summary'
      end
    end
    object RangesPage: TTabSheet
      Caption = 'Ranges'
      object HorizontalTrack: TTrackBar
        Left = 8
        Top = 8
        Width = 250
        Height = 45
        Max = 100
        Frequency = 10
        TabOrder = 0
        OnChange = HorizontalTrackChange
      end
      object HorizontalTrackLabel: TLabel
        Left = 16
        Top = 56
        Width = 200
        Height = 13
        Caption = 'Horizontal: 0'
      end
      object VerticalTrack: TTrackBar
        Left = 280
        Top = 8
        Width = 45
        Height = 200
        Orientation = trVertical
        Max = 100
        Frequency = 10
        TabOrder = 1
        OnChange = VerticalTrackChange
      end
      object VerticalTrackLabel: TLabel
        Left = 332
        Top = 16
        Width = 120
        Height = 13
        Caption = 'Vertical: 0'
      end
      object UpDownLabel: TLabel
        Left = 16
        Top = 92
        Width = 80
        Height = 13
        Caption = 'Up-down:'
      end
      object UpDownEdit: TEdit
        Left = 100
        Top = 88
        Width = 60
        Height = 21
        TabOrder = 2
        Text = '5'
      end
      object NumberUpDown: TUpDown
        Left = 160
        Top = 88
        Width = 17
        Height = 21
        Associate = UpDownEdit
        Max = 50
        Position = 5
        TabOrder = 3
      end
      object SmoothLabel: TLabel
        Left = 16
        Top = 132
        Width = 80
        Height = 13
        Caption = 'Smooth:'
      end
      object SmoothProgress: TProgressBar
        Left = 100
        Top = 130
        Width = 160
        Height = 18
        Max = 100
        Smooth = True
        Step = 2
        TabOrder = 4
      end
      object ChunkedLabel: TLabel
        Left = 16
        Top = 162
        Width = 80
        Height = 13
        Caption = 'Chunked:'
      end
      object ChunkedProgress: TProgressBar
        Left = 100
        Top = 160
        Width = 160
        Height = 18
        Max = 100
        Step = 5
        TabOrder = 5
      end
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 461
    Width = 640
    Height = 19
    SimplePanel = False
  end
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcSystemMenu]
    SkinFormtype = sfMainform
    Version = '2.62.5.26'
    MenuUpdate = True
    SkinStream = @file('default.skin')
  end
  object Pictures: TImageList
    Width = 16
    Height = 16
    Bitmap = @file('pictures.bmp')
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object OpenSkinFile1: TMenuItem
        Caption = '&Open Skin File...'
        ShortCut = 'Ctrl+O'
        OnClick = OpenSkinFile1Click
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        OnClick = Exit1Click
      end
    end
    object Skin1: TMenuItem
      Caption = '&Skin'
      object DefaultSkin1: TMenuItem
        Caption = '&Default'
        RadioItem = True
        GroupIndex = 1
        OnClick = DefaultSkin1Click
      end
      object DarkSkin1: TMenuItem
        Caption = 'D&ark'
        RadioItem = True
        GroupIndex = 1
        OnClick = DarkSkin1Click
      end
      object FlatSkin1: TMenuItem
        Caption = '&Flat'
        RadioItem = True
        GroupIndex = 1
        OnClick = FlatSkin1Click
      end
      object MeridianSkin1: TMenuItem
        Caption = '&Meridian'
        RadioItem = True
        GroupIndex = 1
        OnClick = MeridianSkin1Click
      end
      object MeridianDarkSkin1: TMenuItem
        Caption = 'M&eridian Dark'
        RadioItem = True
        GroupIndex = 1
        OnClick = MeridianDarkSkin1Click
      end
      object NoSkin1: TMenuItem
        Caption = '&No Skin'
        RadioItem = True
        GroupIndex = 1
        OnClick = NoSkin1Click
      end
    end
    object Window1: TMenuItem
      Caption = '&Window'
      object MdiDemo1: TMenuItem
        Caption = '&MDI Demo...'
        OnClick = MdiDemo1Click
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      object About1: TMenuItem
        Caption = '&About...'
        OnClick = About1Click
      end
    end
  end
  object ButtonsMenu: TPopupMenu
    Images = Pictures
    object CheckedItem1: TMenuItem
      Caption = '&Checked item'
      Checked = True
      AutoCheck = True
      OnClick = ContextItemClick
    end
    object DisabledItem1: TMenuItem
      Caption = 'D&isabled item'
      Enabled = False
    end
    object ImageItem1: TMenuItem
      Caption = 'Item with an &image'
      ImageIndex = 2
      OnClick = ContextItemClick
    end
    object N2: TMenuItem
      Caption = '-'
    end
    object More1: TMenuItem
      Caption = '&More'
      object FirstSubItem1: TMenuItem
        Caption = '&First sub-item'
        OnClick = ContextItemClick
      end
      object SecondSubItem1: TMenuItem
        Caption = '&Second sub-item'
        OnClick = ContextItemClick
      end
    end
    object DefaultItem1: TMenuItem
      Caption = '&Default item'
      Default = True
      OnClick = ContextItemClick
    end
  end
end
