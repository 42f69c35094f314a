#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into fuzz/corpus/<target>/.

Each target's input layout is described at its LLVMFuzzerTestOneInput; the seeds are small,
readable cases of the formats, valid and broken. Crash reproducers found later are added beside
them by hand (named after what went wrong) and are kept when this script runs again.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def u16(v):
    return struct.pack('<H', v & 0xFFFF)


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


# --- settings_lookup: key length byte, key, file content -------------------------------------
def settings(name, key, content):
    write('settings_lookup', name, bytes([len(key)]) + key + content)


settings('text_two_lines', b'00000400', b'[Texts]\r\n00000400=Title\\nSecond line\r\n')
settings('alias', b'00000400', b'00000400:00000401\r\n00000401=Other\r\n')
settings('alias_loop', b'a', b'a:b\nb:a\n')
settings('blank_before_equals', b'00000400', b'00000400 = Title\r\n00000400=Real\r\n')
settings('longer_key', b'00000400', b'000004000=X\r\n00000400=Y\r\n')
settings('long_line', b'K', b'X=' + b'v' * 600 + b'\r\nK=after a long line\r\n')
settings('key_at_chunk_edge', b'K', b'a' * 255 + b'K=second chunk\n')
settings('zero_in_value', b'K', b'K=ab\x00cd\r\n')
settings('lone_cr', b'K', b'K=a\rb\r\nL=c\r')
settings('printer_ini', b'PRINTER2',
         b'PRINTER_NUM=2\r\nPRINTER1=KALDO Model 9000\r\nPRINTER2=KALDO Model 7000\r\n')

# --- text_lookup: code page (0 932, 1 936, 2 949, 3 950, 4 1361, 5 1252), line buffer ---------
# (1: Trevalo's), L_Refer.ini length byte and content, Localize.ini 16-bit length and content,
# L_Const.ini
def text(name, localize, code_page=0, chunk=0, refer=b'', fallback=b''):
    write('text_lookup', name,
          bytes([code_page, chunk, len(refer)]) + refer + u16(len(localize)) + localize + fallback)


HYO, SO, NOU = '表'.encode('cp932'), 'ソ'.encode('cp932'), '能'.encode('cp932')
CHOON, ZE, ZO = 'ー'.encode('cp932'), 'ゼ'.encode('cp932'), 'ゾ'.encode('cp932')
text('trail_5c_before_n', b'00000400=' + HYO + b'n' + SO + b'n' + NOU + b'n\r\n')
text('escape_after_double_byte', b'00000400=' + SO + b'\\n' + ZO + b'n' + ZE + b'\r\n')
text('unpaired_lead_at_end', b'00000400=abc\x95\r\n')
text('lead_at_chunk_edge', b'00000400=' + b'x' * 245 + HYO + b'tail\r\n')
text('lead_at_trevalo_chunk_edge', b'00000400=' + b'x' * 501 + NOU + b'\r\n', chunk=1)
text('thousand_bytes', b'00000400=' + HYO * 500 + b'\r\n')
text('thousand_bytes_trevalo', b'00000400=' + CHOON * 500 + b'\r\n', chunk=1)
text('shift_jis_read_as_1252', b'00000400=' + HYO + b'n\r\n', code_page=5)
text('utf8_read_as_932', b'00000400=' + '表ソn'.encode('utf-8') + b'\\n\r\n')
text('refer_to_double_byte_key', HYO + b'=found\r\n', refer=b'00000400=' + HYO + b'\r\n')
text('const_fallback', b'', fallback=b'00000400=' + CHOON + b'\\n]' + ZE + b'\r\n')
text('johab_trail_digit', b'00000400=\xe0\x31\\n5\r\n', code_page=4)
text('lead_before_zero', b'00000400=ab\x95\x00cd\r\n')


# --- font_spec: 16-bit signed dpi, value ------------------------------------------------------
def font(name, dpi, value):
    write('font_spec', name, u16(dpi) + value)


font('bold_underlined_96', 96, b'12, 1, 0, 1')
font('bold_underlined_120', 120, b'12,1,0,1')
font('size_zero', 96, b'0,1,0,0')
font('signs_and_tail', 144, b'+9,-1,1,1 trailing')
font('size_overflows', 96, b'2147483648,1,1,1')
font('three_numbers', 96, b'10,0,0')
font('no_dpi', 0, b'10,0,0,0')
font('tabs', 72, b'\t8 ,\t1, 1 ,0')

# --- device_id: driver length (low six bits; 0x80 makes the library fail), driver, device ID --
def device(name, driver, device_id, fails=False):
    write('device_id', name, bytes([len(driver) | (0x80 if fails else 0)]) + driver + device_id)


DRIVER = b'KALDO Model 9000'
device('match', DRIVER, b'MFG:KALDO;CMD:ESC;DES:KALDO Model 9000;CLS:PRINTER;')
device('last_field_open', DRIVER, b'MFG:KALDO;DES:KALDO Model 9000')
device('empty_description', b'', b'MFG:KALDO;DES:;')
device('des_inside_value', DRIVER, b'CMD:DES:Other;DES:KALDO Model 9000;')
device('lower_case_key', DRIVER, b'des:KALDO Model 9000;')
device('beyond_256', DRIVER, b'MFG:' + b'x' * 250 + b';DES:KALDO Model 9000;')
device('library_fails', DRIVER, b'DES:KALDO Model 9000;', fails=True)
device('zero_inside', DRIVER, b'MFG:K\x00;DES:KALDO Model 9000;')

# --- status_reply: mode byte, reply -----------------------------------------------------------
# mode bit 0: through ReadStatus; bits 1-2: count answered (0 delivered, 1 too many, 2 half,
# 3 non-positive, its value from the bits above).
def status(name, mode, body=None, raw=None, length=None):
    if raw is None:
        n = len(body) if length is None else length
        raw = b'@BDC ST2\r\n' + u16(n) + body
    write('status_reply', name, bytes([mode]) + raw)


status('ready', 1, bytes([0x01, 0x01, 0x04]))
status('not_ready', 1, bytes([0x01, 0x01, 0x03]))
status('no_status_field', 1, bytes([0x02, 0x01, 0x04]))
status('ink_not_low', 1, bytes([0x01, 0x01, 0x04, 0x0F, 0x07, 0x03, 0, 0, 26, 0, 0, 40]))
status('ink_low', 1, bytes([0x0F, 0x07, 0x03, 0, 0, 26, 0, 0, 25]))
status('field_0d', 1, bytes([0x0D, 0x02, 0x20, 13, 0x0D, 0x01, 14]))
status('field_runs_past_end', 1, bytes([0x02, 0x09, 1, 2, 0x01, 0x01, 0x04]))
status('length_claims_more', 1, bytes([0x01, 0x01, 0x04]), length=40)
status('no_crlf', 1, raw=b'@BDC ST2\n\x03\x00\x01\x01\x04')
status('count_too_many', 3, bytes([0x01, 0x01, 0x04]))
status('count_half', 5, bytes([0x01, 0x01, 0x04]) + bytes(40))
status('count_negative', 0x0F, bytes([0x01, 0x01, 0x04]))

# --- query_reply: flags (bit 0 control), reply area size - 1, receive count, receives ---------
MARKER = b'@BDC PS\r\n'


def receive(result, data, size_after=None):
    flag = 1 if size_after is not None else 0
    return u16(result) + bytes([flag]) + u16(size_after or 0) + u16(len(data)) + data


def query(name, control, reply_size, receives):
    write('query_reply', name,
          bytes([1 if control else 0]) + u16(reply_size - 1) + bytes([len(receives)]) +
          b''.join(receives))


VERSION_REPLY = MARKER + b'VI:00SN123456;\r\n'
query('network_marker_at_start', False, 512, [receive(len(VERSION_REPLY), VERSION_REPLY)])
query('network_marker_after_noise', False, 512,
      [receive(40, b'\x30\x26' + b'x' * 30 + VERSION_REPLY)])
query('network_marker_at_503', False, 512,
      [receive(512, b'y' * 503 + MARKER), receive(30, b'\x30\x1c' + b'z' * 3 + VERSION_REPLY)])
query('network_silence_first', False, 512, [receive(0, b''), receive(20, VERSION_REPLY)])
query('network_count_too_large', False, 64, [receive(400, VERSION_REPLY)])
query('network_size_left_small', False, 512, [receive(25, VERSION_REPLY, size_after=4)])
query('network_error', False, 512, [receive(-3, b'')])
query('control_reply', True, 512, [receive(0, b''), receive(14, b'VI:00SN123456;')])
query('control_small_area', True, 8, [receive(14, b'VI:00SN123456;')])

# --- version_reply: flags (bit 0: the library claims the next count), claimed count, reply ----
def version_reply(name, data, claimed=None):
    flags = 1 if claimed is not None else 0
    write('version_reply', name, bytes([flags]) + u16(claimed or 0) + data)


version_reply('text_before_semicolon', b'VI:00ABC;XYZ')
version_reply('other_index', b'VI:01SN123456;')
version_reply('with_marker', MARKER + b'VI:00SN123456;\r\n')
version_reply('zero_inside', b'VI:00SN\x0012;')
version_reply('claims_past_area', b'z' * 505 + b'VI:00SN1234', claimed=2000)
version_reply('claims_nothing', b'VI:00SN123456;', claimed=-1)

# --- firmware_file: flags, size offset, version field, fill, image step, patches --------------
# flags: 1 outer length, 2 outer sum, 4 marker, 8 image length, 16 image sum kept correct;
# 32 read short, 64 size query fails, 128 open fails.
KEEP_ALL = 0x1F


def firmware(name, flags, offset, version, fill=0, step=0, patches=b''):
    write('firmware_file', name,
          bytes([flags]) + u16(offset) + version.ljust(8, b'\x00')[:8] + bytes([fill, step]) +
          patches)


def patch(region, offset, value):
    return bytes([region]) + struct.pack('<I', offset)[:3] + bytes([value])


firmware('minimal_valid', KEEP_ALL, 0, b'SN123456')
firmware('one_byte_short', KEEP_ALL, -1, b'SN123456')
firmware('image_valid', KEEP_ALL, 300, b'SN100200', fill=0xFF, step=7)
firmware('lower_case_tag', KEEP_ALL, 16, b'sn123456', fill=0x11, step=3)
firmware('bad_tag', KEEP_ALL, 0, b'SX123456')
firmware('short_version', KEEP_ALL, 8, b'SN12')
firmware('marker_damaged', KEEP_ALL, 0, b'SN123456', patches=patch(1, 3, 0xFE))
firmware('outer_sum_and_marker_wrong', KEEP_ALL & ~0x06, 0, b'SN123456')
firmware('image_length_wrong', KEEP_ALL & ~0x08, 40, b'SN123456', fill=1, step=1)
firmware('image_sum_wrong', KEEP_ALL & ~0x10, 40, b'SN123456', fill=1, step=1)
firmware('patched_image', KEEP_ALL, 40, b'SN123456', fill=1, step=1, patches=patch(3, 7, 0x80))
firmware('read_short', KEEP_ALL | 0x20, 0, b'SN123456')
firmware('size_fails', KEEP_ALL | 0x40, 0, b'SN123456')
firmware('open_fails', KEEP_ALL | 0x80, 0, b'SN123456')
firmware('too_small_by_far', KEEP_ALL, -1000, b'SN123456')

# --- version_key: first text's length byte, first text, second text ---------------------------
def versions(name, printer, file):
    write('version_key', name, bytes([len(printer)]) + printer + file)


versions('file_newer', b'SN123456', b'SN123457')
versions('only_edges_differ', b'XY100000', b'SN100009')
versions('not_hex', b'SN1G0000', b'SN100000')
versions('short', b'SN12', b'SN1234')
versions('six_characters', b'SN1234', b'SN12345')
versions('same', b'ABCDEFGH', b'ABCDEFGH')
versions('printer_empty', b'', b'SN123456')

# --- media_rows: count byte (7: no count line), driver media id, paper feed, rows by newline
# (':KEY' makes an alias line) -------------------------------------------------------------------
def media(name, count, driver, feed, rows):
    write('media_rows', name, bytes([count, driver & 0xFF, feed]) + b'\n'.join(rows))


media('two_rows', 2, 5, 2, [b'5,12,3,0,1,3,-1,-1,-1,-1', b'5,20,2,1,1,2,3,-1,-1,-1'])
media('second_row_missing', 2, 5, 2, [b'5,12,3,0,1,3,-1,-1,-1,-1'])
media('tail_and_trailing_comma', 2, 5, 0,
      [b'5,12,0,9,0,1,2,3,4,5 note', b'5,13,0,9,0,1,2,3,4,5,'])
media('eleventh_integer', 1, 5, 0, [b'5,12,0,9,0,1,2,3,4,5,6'])
media('blanks', 2, 5, 0, [b'5, 12,\t0, 0, 0, 0, 0, 0, 0, 0', b'5 ,12,0,0,0,0,0,0,0,0'])
media('alias_row', 3, 7, 1, [b'7,20,1,1,1,2,3,-1,-1,-1', b'7,21,3,2,0,0,0,0,0,0',
                             b':MEDIAP1_001'])
media('zero_count', 0, 5, 0, [b'5,12,0,0,0,0,0,0,0,0'])
media('no_count_line', 7, 5, 0, [b'5,12,0,0,0,0,0,0,0,0'])
media('overflow_and_signs', 1, 1, 0, [b'+1,-99999999999,0,-2147483648,2147483647,0,0,0,0,0'])
media('code_is_miss_value', 2, 3, 0, [b'3,-1000,0,0,0,0,0,0,0,0', b'3,8,0,1,0,0,0,0,0,0'])


# --- setting_selector: media code (16 bits), feed, kind, position, value kind, write value (16
# bits), reference (2 characters), PaperSet.ini content ----------------------------------------
def selector(name, media, feed, kind, position, value_kind, value, reference, content):
    write('setting_selector', name,
          u16(media) + bytes([feed & 0xFF, kind & 0xFF, position & 0xFF, value_kind & 0xFF]) +
          u16(value) + reference + content)


SELECTORS = (b'7,21=0102030405060708090A0B0C0D\r\n7,02=2222222222222222222222222a\r\n'
             b'7,03=33333333333333333333333333\r\n12,05=0102030405060708090a0b0c\r\n'
             b'-3,05=1G2 -3\r\n')
selector('feed_position_5', 7, 2, 0, 5, 0, -5, b'80', SELECTORS)
selector('pellan_print_mode', 7, 0, 1, 3, 0, 0x20, b'00', SELECTORS)
selector('pellan_dot_shift', 7, 0, 1, 3, 1, 300, b'00', SELECTORS)
selector('twenty_four_digits', 12, 0, 0, 0, 0, 200, b'80', SELECTORS)
selector('odd_pairs_negative_code', -3, 0, 0, 0, 0, -200, b'10', SELECTORS)
selector('feed_out_of_range', 7, 3, 0, 5, 0, 0, b'80', SELECTORS)
selector('kind_out_of_range', 7, 2, 2, 5, 0, 0, b'80', SELECTORS)
selector('position_out_of_range', 7, 2, 0, 6, 0, 0, b'80', SELECTORS)
selector('missing_key', 8, 2, 0, 5, 0, 0, b'zz', SELECTORS)


# --- ex_reply: flags (bit 0: the library claims the next count), claimed count, reply ---------
def ex_reply(name, data, claimed=None):
    flags = 1 if claimed is not None else 0
    write('ex_reply', name, bytes([flags]) + u16(claimed or 0) + data)


EX_TEXT = b'EX:0000001F0102030405060708090A0B0C0D'
ex_reply('usual', MARKER + EX_TEXT + b'8A80;\x0c')
ex_reply('no_semicolon', MARKER + EX_TEXT + b'8A80')
ex_reply('one_character', EX_TEXT + b'8;')
ex_reply('value_cut_by_semicolon', EX_TEXT + b';8A80')
ex_reply('zero_before_tag', b'@BDC\x00' + EX_TEXT + b'8A80;')
ex_reply('other_group', b'EX:0000001E0102030405060708090A0B0C0D8A80;')
ex_reply('claims_past_area', b'z' * 470 + EX_TEXT + b'7F80zz', claimed=4000)
ex_reply('claims_less', EX_TEXT + b'8A80;', claimed=39)
ex_reply('claims_nothing', EX_TEXT + b'8A80;', claimed=-1)


# --- sample_image: field mask, faults, size mode, 16-bit amount, replaced fields, header tail --
def u32(v):
    return struct.pack('<I', v & 0xFFFFFFFF)


def sample_image(name, fields=None, faults=0, mode=0, amount=0):
    # fields: offset, info, width, height (32 bits), planes, bits (16), compression (32)
    order = [('offset', 0x01, u32), ('info', 0x02, u32), ('width', 0x04, u32),
             ('height', 0x08, u32), ('planes', 0x10, u16), ('bits', 0x20, u16),
             ('compression', 0x40, u32)]
    fields = fields or {}
    mask = 0
    body = b''
    for key, bit, pack in order:
        if key in fields:
            mask |= bit
            body += pack(fields[key])
    write('sample_image', name, bytes([mask, faults, mode]) + u16(amount) + body)


sample_image('picture')
sample_image('one_byte_short', mode=1, amount=1)
sample_image('bytes_after_rows', mode=2, amount=500)
sample_image('wrong_size', {'width': 100, 'height': 100})
sample_image('larger_header_and_gap', {'offset': 138, 'info': 124})
sample_image('header_past_offset', {'info': 124})
sample_image('offset_zero', {'offset': 0}, mode=2, amount=54)
sample_image('bits_32', {'bits': 32}, mode=2, amount=65535)
sample_image('compressed', {'compression': 1})
sample_image('no_plane', {'planes': 0})
sample_image('top_down', {'height': -425}, mode=4, amount=60000)
sample_image('row_size_wrapping', {'width': 0x55555556, 'height': 1}, mode=4, amount=100)
sample_image('shorter_than_headers', mode=3, amount=20)
sample_image('size_fails', faults=1)
sample_image('open_fails', faults=2)
sample_image('read_short', faults=4)


# --- trace_reader: the text of a trace ---------------------------------------------------------
def trace_text(name, text):
    write('trace_reader', name, text.encode('latin-1'))


trace_text('calls', '# kdtrace 1\n'
           '0 KBInitialize -> 0\n'
           '3 KBGetDeviceID constant=1 queue="Q \\"A\\"" size=256 -> 0 size=256 id="DES:X;\\x00"\n'
           '5 KBGetStatus handle=1 size=256 -> 12 size=12 status=<4042444320535432> took=12\n'
           '9 KDDM_GetData handle=3 item=213 kind=3 id=0 room=260 -> 0 name="Plain"\n'
           '9 KDDM_GetRange handle=3 item=60 count=2 element=2 ids=1 -> 0 ids=<01000200> count=2\n'
           '10 KDDM_GetDevMode handle=3 buffer=1 -> 1 devmode=<' + '41' * 300 + '>\n')
trace_text('malformed', 'x KBInitialize -> 0\n0 KBSend data=<123> -> 1\n0 KBSend a="open -> 1\n'
           '0 KBSend -> \n0 KBSend a=1b -> 1\n0 K=B -> 1\n99999999999 KBInitialize -> 0\n'
           '0 KBRelease -> 99999999999999999999\n\r\n0 KBInitialize  ->  0  \r\n')
trace_text('long_reply', '0 KBReceive handle=1 size=4 limit=3000 -> 9 reply=<' + '00FF' * 200 +
           '>\n0 KDDM_GetData handle=1 item=219 block=<01> -> 0 block=<' + '11' * 64 + '>\n')
