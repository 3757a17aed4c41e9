object FormUSJ: TFormUSJ
  Left = 1474
  Top = 785
  BorderStyle = bsDialog
  Caption = 'ShiftJIS'#32622#25563#25991#23383#25351#23450
  ClientHeight = 169
  ClientWidth = 222
  Color = clBtnFace
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = #65325#65331' '#65328#12468#12471#12483#12463
  Font.Style = []
  HelpContext = 305
  Scaled = False
  OnCreate = FormCreate
  OnHelp = FormHelp
  PixelsPerInch = 96
  TextHeight = 12
  object Label1: TLabel
    Left = 24
    Top = 12
    Width = 42
    Height = 12
    Caption = 'Unicode'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = #65325#65331' '#12468#12471#12483#12463
    Font.Style = []
    ParentFont = False
  end
  object Label2: TLabel
    Left = 24
    Top = 88
    Width = 48
    Height = 12
    Caption = 'ShiftJIS'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = #65325#65331' '#12468#12471#12483#12463
    Font.Style = []
    ParentFont = False
  end
  object ButtonOk: TButton
    Left = 121
    Top = 20
    Width = 62
    Height = 25
    Caption = 'OK'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'MS UI Gothic'
    Font.Style = []
    ModalResult = 1
    ParentFont = False
    TabOrder = 2
    OnClick = ButtonOkClick
  end
  object PanelUnicode: TPanel
    Left = 20
    Top = 28
    Width = 61
    Height = 49
    BevelOuter = bvLowered
    Caption = #23383
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -32
    Font.Name = #65325#65331' '#12468#12471#12483#12463
    Font.Style = []
    ParentFont = False
    TabOrder = 3
  end
  object PanelShiftJIS: TPanel
    Left = 20
    Top = 104
    Width = 181
    Height = 49
    BevelOuter = bvLowered
    Color = clWindow
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -32
    Font.Name = #65325#65331' '#12468#12471#12483#12463
    Font.Style = []
    ParentFont = False
    TabOrder = 0
    object EditShiftJIS: TEdit
      Left = 14
      Top = 8
      Width = 165
      Height = 37
      AutoSelect = False
      BevelInner = bvNone
      BevelOuter = bvNone
      BorderStyle = bsNone
      Font.Charset = SHIFTJIS_CHARSET
      Font.Color = clWindowText
      Font.Height = -32
      Font.Name = #65325#65331' '#12468#12471#12483#12463
      Font.Style = []
      ParentFont = False
      TabOrder = 0
      Text = #23383
      OnChange = EditShiftJISChange
    end
  end
  object ComboBoxKind: TComboBox
    Left = 104
    Top = 57
    Width = 97
    Height = 20
    Style = csDropDownList
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'MS UI Gothic'
    Font.Style = []
    ItemHeight = 12
    ItemIndex = 0
    ParentFont = False
    TabOrder = 1
    OnChange = ComboBoxKindChange
    Items.Strings = (
      'ShiftJIS'#32622#25563
      #32622#25563#12394#12375
      #12473#12461#12483#12503)
  end
end
