// CRC core of the crc_engine IP. Parameters and ports follow the component file; the
// generated wrapper instantiates this module.
//
// A linear-feedback shift register over CRC_WIDTH bits that takes DATA_WIDTH bits a
// clock, most significant bit first. The register starts at all ones and crc shows it
// as it is, neither reflected nor inverted: with POLYNOMIAL 04C11DB7 the result is
// CRC-32/MPEG-2, with 1021 at 16 bits CRC-16/CCITT-FALSE.
module crc_engine_core #(
    // 8, 16 or 32
    parameter integer CRC_WIDTH = 32,
    // hexadecimal digits, without the implicit top term (04C11DB7 for x^32 + x^26 + ...
    // + 1); it must fit in CRC_WIDTH bits
    parameter POLYNOMIAL = "04C11DB7",
    parameter integer DATA_WIDTH = 8
) (
    input  wire                  clk,
    // starts a new message: the register returns to all ones, and data presented in the
    // same clock is the new message's first
    input  wire                  init,
    input  wire                  data_valid,
    input  wire [DATA_WIDTH-1:0] data,
    output reg  [CRC_WIDTH-1:0]  crc
);
    // The polynomial's digits, as many as fit in 64 bits; characters that are no hex
    // digit are skipped (the VHDL core refuses them).
    function automatic [63:0] hex_value(input [8*16-1:0] text);
        integer i;
        reg [7:0] c;
        begin
            hex_value = 64'd0;
            for (i = 15; i >= 0; i = i - 1) begin
                c = text[8*i+:8];
                if (c >= "0" && c <= "9")
                    hex_value = {hex_value[59:0], c[3:0]};
                else if ((c >= "a" && c <= "f") || (c >= "A" && c <= "F"))
                    hex_value = {hex_value[59:0], c[3:0] + 4'd9};
            end
        end
    endfunction

    localparam [CRC_WIDTH-1:0] POLY = hex_value(POLYNOMIAL);
    localparam [CRC_WIDTH-1:0] SEED = {CRC_WIDTH{1'b1}};

    initial crc = SEED;

    // One step of the register per data bit; the loop unrolls into the XOR network.
    function automatic [CRC_WIDTH-1:0] next_crc(input [CRC_WIDTH-1:0] state,
                                                input [DATA_WIDTH-1:0] bits);
        integer i;
        begin
            next_crc = state;
            for (i = DATA_WIDTH - 1; i >= 0; i = i - 1)
                next_crc = {next_crc[CRC_WIDTH-2:0], 1'b0} ^
                           ((next_crc[CRC_WIDTH-1] ^ bits[i]) ? POLY : {CRC_WIDTH{1'b0}});
        end
    endfunction

    always @(posedge clk) begin
        if (data_valid)
            crc <= next_crc(init ? SEED : crc, data);
        else if (init)
            crc <= SEED;
    end
endmodule
